#pragma once
#include "sim/SimulationParameters.h"
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace keldo::sim {

enum class TipoParametro { inteiro, semSinal, texto };

// One parameter --set takes: where the record holds it, what it means, the
// dialog's range (or its choices) and the range loads and --set accept. The
// dialogs, the loader, --set and --params all read their ranges here.
struct DescricaoParametro {
    std::string_view nome;
    std::string_view descricao; // one line, Portuguese, UTF-8
    TipoParametro tipo = TipoParametro::inteiro;
    // Exactly one is set, or `indicePermuta` names an entry of `taxaPermuta`.
    int32_t SimulationParameters::*inteiro = nullptr;
    uint32_t SimulationParameters::*semSinal = nullptr;
    std::string SimulationParameters::*texto = nullptr;
    int indicePermuta = -1;

    std::string_view escolhas; // the dialog's choices ("0,12,15,30"); empty: a numeric range
    int64_t minimoDialogo = 0;
    int64_t maximoDialogo = 0;
    bool noDialogo = false; // false: no dialog edits it (the value passes through)

    // What a load accepts; an empty bound is the type's own. Outside, a
    // load is refused (`valorInutilizavel`); --set takes the value and the
    // run is refused, unless `recusadoAoLer`: the model cannot even hold
    // such a value, so --set refuses it as it refuses a malformed number.
    std::optional<int64_t> minimoCarga;
    std::optional<int64_t> maximoCarga;
    bool recusadoAoLer = false;

    constexpr DescricaoParametro dialogo(int64_t minimo, int64_t maximo) const {
        DescricaoParametro d = *this;
        d.minimoDialogo = minimo;
        d.maximoDialogo = maximo;
        d.noDialogo = true;
        return d;
    }
    constexpr DescricaoParametro opcoes(std::string_view lista) const {
        DescricaoParametro d = *this;
        d.escolhas = lista;
        d.noDialogo = true;
        return d;
    }
    constexpr DescricaoParametro carga(std::optional<int64_t> minimo,
                                       std::optional<int64_t> maximo) const {
        DescricaoParametro d = *this;
        d.minimoCarga = minimo;
        d.maximoCarga = maximo;
        return d;
    }
    constexpr DescricaoParametro limiteDoModelo(int64_t minimo, int64_t maximo) const {
        DescricaoParametro d = carga(minimo, maximo);
        d.recusadoAoLer = true;
        return d;
    }

    // The load range with the type's bounds filled in.
    int64_t menorAceito() const;
    int64_t maiorAceito() const;
    // The value of a numeric field of `p`; nothing for a text.
    std::optional<int64_t> valorEm(const SimulationParameters& p) const;
    // Whether the range of a dialog, not a list of choices, bounds this field.
    bool temFaixaNoDialogo() const { return noDialogo && escolhas.empty(); }
};

// Every parameter, in the record's order.
std::span<const DescricaoParametro> tabelaDeParametros();
const DescricaoParametro* descricaoDoParametro(std::string_view nome);
// For a name the program itself uses: throws std::out_of_range for an unknown one.
const DescricaoParametro& parametroPorNome(std::string_view nome);

// The dialog's range or choices as text ("1 a 1000", "0,12,15,30", "-").
std::string faixaDoDialogo(const DescricaoParametro& d);
// The values a load or --set accepts, as text ("1 a 1000", "texto").
std::string faixaDaCarga(const DescricaoParametro& d);

// For a value the model defines but the dialog would not take, one line
// (UTF-8) saying what the model will do with it; empty inside the dialog's range.
std::string avisoForaDoDialogo(std::string_view nome, std::string_view valor);

// The --params listing: a header, then name;type;default;dialog;loads;description.
std::string listagemDeParametros();

} // namespace keldo::sim
