#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What each parameter --set takes means and which values it may hold: the
// dialog's range (or its choices) and, apart from the field's own type, the
// range the model and project loads accept (`faixaDoParametro`).
struct DescricaoParametro {
    std::string_view nome;
    std::string_view descricao; // one line, Portuguese, UTF-8
    std::string_view escolhas;  // the dialog's choices ("0,12,15,30"); empty: a numeric range
    int64_t minimoDialogo = 0;
    int64_t maximoDialogo = 0;
    bool noDialogo = true; // false: no dialog edits it (the value passes through)
};

// Every parameter, in the record's order (the order of `nomesDeParametros`).
std::span<const DescricaoParametro> tabelaDeParametros();
const DescricaoParametro* descricaoDoParametro(std::string_view nome);

// The dialog's range or choices as text ("1 a 1000", "0, 12, 15, 30", "-").
std::string faixaDoDialogo(const DescricaoParametro& d);
// The values a load or --set accepts, as text.
std::string faixaDaCarga(std::string_view nome);

// For a value the model defines but the dialog would not take, one line
// (UTF-8) saying what the model will do with it; empty inside the dialog's range.
std::string avisoForaDoDialogo(std::string_view nome, std::string_view valor);

// The --params listing: a header, then name;type;default;dialog;loads;description.
std::string listagemDeParametros();
