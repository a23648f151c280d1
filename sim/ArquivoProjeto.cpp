#include "sim/ArquivoProjeto.h"
#include "io/GravacaoSegura.h"
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <sys/stat.h>

namespace keldo::sim {

using namespace keldo::io;

namespace {
constexpr int32_t versaoArquivo = 3000;
const char* const mensagemVersao = "Vers\xC3\xA3o inv\xC3\xA1lida do arquivo!";

void serializarParametros(CArchive& ar, SimulationParameters& p, int32_t& numSnapshot) {
    auto i32 = [&](int32_t& v) { ar.IsStoring() ? ar.escreverInt32(v) : void(v = ar.lerInt32()); };
    auto u32 = [&](uint32_t& v) {
        ar.IsStoring() ? ar.escreverUInt32(v) : void(v = ar.lerUInt32());
    };
    auto str = [&](std::string& v) {
        ar.IsStoring() ? ar.escreverString(v) : void(v = ar.lerString());
    };
    i32(p.numIndividuos);
    i32(p.taxaMutacao);
    i32(p.mutacaoAtiva);
    i32(p.taxaReposicao);
    i32(p.particaoAmbiente);
    i32(p.energiaMin);
    i32(p.energiaMax);
    str(p.nivelObstaculos);
    str(p.criterioParada);
    i32(p.intervaloAnimacao);
    i32(p.gerarTrace);
    i32(p.qtdAlimento);
    i32(p.mostrarEnergia);
    i32(p.tipoPopulacao);
    i32(p.salvarAtivo);
    i32(p.salvarCiclos);
    i32(numSnapshot);
    i32(p.comDefinida);
    i32(p.tipoGeracoes);
    u32(p.numIndDiscretas);
    u32(p.tempoRealCiclo);
    for (int32_t& taxa : p.taxaPermuta)
        i32(taxa);
    for (uint32_t* v : {&p.detecta, &p.luta, &p.morte_mm, &p.morte_Mm, &p.morte_MM, &p.repro_rr,
                        &p.repro_Rr, &p.repro_RR, &p.partilha})
        u32(*v);
}

template <class T> void escreverObjeto(CArchive& ar, T& objeto) {
    ar.escreverInicioObjeto(T::nomeClasse, T::esquema);
    objeto.Serialize(ar);
}

template <class T> void escreverLista(CArchive& ar, std::vector<T>& lista) {
    ar.escreverContagem(static_cast<uint32_t>(lista.size()));
    for (T& objeto : lista)
        escreverObjeto(ar, objeto);
}

// A list is refused on its count, before anything is allocated: past
// `maximo`, the most elements a world may take (a world past the limit never
// runs a cycle, and reading it whole would take the memory first), and past
// what the remaining bytes can hold, since every element takes at least a
// 2-byte reference and its record (the file would end before the list does).
// The limit is judged first, so a huge count is refused for it.
uint32_t lerContagem(CArchive& ar, int tamanhoRegistro, uint64_t maximo, size_t limite) {
    const uint32_t n = ar.lerContagem();
    if (n > maximo)
        throw ArchiveError("Arquivo grande demais: mais de " + std::to_string(limite) +
                               " indiv\xC3\xAD"
                               "duos e alimentos, o limite de um mundo.",
                           FalhaArquivo::alemDoLimite);
    if (n > ar.restante() / (2 + tamanhoRegistro))
        throw ArchiveError("contagem de lista maior que o arquivo", FalhaArquivo::fimDoArquivo);
    return n;
}

// The phases turn positions into whole numbers; a position or heading that is
// not a number, or so far out that a step cannot bring it back into the
// arena, would make that conversion undefined. Files this program writes
// hold positions near 0..99 and unit headings.
bool coordenadaUtilizavel(float v) {
    return std::isfinite(v) && std::fabs(v) <= 1.0e6f;
}

// Room grows with the elements read, never past the count: a count that the
// file's size allows but its records do not back costs no memory.
template <class T> void abrirEspaco(std::vector<T>& lista, uint32_t n) {
    if (lista.size() == lista.capacity())
        lista.reserve(std::min<size_t>(n, std::max<size_t>(1024, 2 * lista.size())));
}

uint32_t lerIndividuos(CArchive& ar, std::vector<SpecX>& lista, Random& rng, uint64_t maximo,
                       size_t limite, bool guardar = true) {
    const uint32_t n = lerContagem(ar, SpecX::tamanhoRegistro, maximo, limite);
    for (uint32_t k = 0; k < n; ++k) {
        if (guardar)
            abrirEspaco(lista, n);
        if (ar.lerInicioObjeto(SpecX::esquema) != SpecX::nomeClasse)
            throw ArchiveError("objeto inesperado", FalhaArquivo::objetoInesperado);
        SpecX individuo(rng); // the empty individual draws before the record overwrites it
        individuo.Serialize(ar);
        for (float v : {individuo.x, individuo.y, individuo.dirX, individuo.dirY})
            if (!coordenadaUtilizavel(v))
                throw ArchiveError("posi\xC3\xA7\xC3\xA3o inv\xC3\xA1lida de um indiv\xC3\xAD"
                                   "duo");
        if (guardar)
            lista.push_back(individuo);
    }
    return n;
}

void lerAlimentos(CArchive& ar, std::vector<FoodX>& lista, size_t limite) {
    const uint32_t n = lerContagem(ar, FoodX::tamanhoRegistro, limite, limite);
    for (uint32_t k = 0; k < n; ++k) {
        abrirEspaco(lista, n);
        if (ar.lerInicioObjeto(FoodX::esquema) != FoodX::nomeClasse)
            throw ArchiveError("objeto inesperado", FalhaArquivo::objetoInesperado);
        FoodX alimento;
        alimento.Serialize(ar);
        lista.push_back(alimento);
    }
}
} // namespace

void ArquivoProjeto::escreverInicio(CArchive& ar, int32_t tempo, int32_t proximoId, int32_t geracao,
                                    SimulationParameters& parametros, int32_t& numSnapshot,
                                    std::vector<FoodX>& alimentos, std::vector<SpecX>& vivos) {
    ar.escreverInt32(versaoArquivo);
    ar.escreverInt32(tempo);
    ar.escreverInt32(proximoId);
    ar.escreverInt32(geracao);
    serializarParametros(ar, parametros, numSnapshot);
    escreverLista(ar, parametros.listaDefinida);
    escreverLista(ar, alimentos);
    escreverLista(ar, vivos);
}

void ArquivoProjeto::escreverMorto(CArchive& ar, SpecX morto) {
    escreverObjeto(ar, morto);
}

ResultadoArquivo ArquivoProjeto::ler(CArchive& ar, Random& rngLeitura, Conteudo& c,
                                     size_t limiteMundo) {
    try {
        if (ar.lerInt32() != versaoArquivo)
            return {false, true, FalhaArquivo::versao, 0, mensagemVersao};
        c.tempo = ar.lerInt32();
        c.proximoId = ar.lerInt32();
        c.geracao = ar.lerInt32();
        serializarParametros(ar, c.parametros, c.numSnapshot);
        const std::string inutilizavel = c.parametros.valorInutilizavel();
        if (!inutilizavel.empty())
            return {false, false, FalhaArquivo::parametro, 0,
                    "Par\xC3\xA2metro inv\xC3\xA1lido no arquivo: " + inutilizavel};
        // The defined population becomes living individuals of the world made from it.
        lerIndividuos(ar, c.parametros.listaDefinida, rngLeitura, limiteMundo, limiteMundo);
        lerAlimentos(ar, c.alimentos, limiteMundo);
        lerIndividuos(ar, c.vivos, rngLeitura, limiteMundo - c.alimentos.size(), limiteMundo);
        // The dead are no part of the limit (a long run has millions of them):
        // their count is bounded by the file's size, and their list grows
        // with the records read.
        const uint32_t mortos =
            lerIndividuos(ar, c.mortos, rngLeitura, std::numeric_limits<uint32_t>::max(),
                          limiteMundo, !c.soContarMortos);
        c.mortosContados = c.soContarMortos ? mortos : 0;
    } catch (const ArchiveError& e) {
        if (e.tipo == FalhaArquivo::alemDoLimite)
            return {false, false, e.tipo, 0, e.what()};
        return {false, false, e.tipo, 0, std::string("Arquivo danificado: ") + e.what()};
    } catch (const std::bad_alloc&) {
        return {false, false, FalhaArquivo::formato, 0,
                "Arquivo danificado: mem\xC3\xB3ria insuficiente"};
    }

    return {};
}

ResultadoArquivo ArquivoProjeto::falha(FalhaArquivo falha, int erro, const std::string& caminho) {
    const char* acao = falha == FalhaArquivo::salvar ? "salvar" : "abrir";
    return {false, false, falha, erro,
            std::string("N\xC3\xA3o foi poss\xC3\xADvel ") + acao + " o arquivo " + caminho + ": " +
                GravacaoSegura::descricao(erro)};
}

ResultadoArquivo ArquivoProjeto::abrirArquivo(const std::string& caminho, std::FILE*& arquivo,
                                              std::uintmax_t& tamanho) {
    struct stat st {};
    if (stat(caminho.c_str(), &st) != 0)
        return falha(FalhaArquivo::abrir, errno, caminho);
    if (!S_ISREG(st.st_mode)) // a FIFO or a device would never end
        return falha(FalhaArquivo::abrir, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, caminho);
    errno = 0;
    arquivo = std::fopen(caminho.c_str(), "rb");
    if (!arquivo)
        return falha(FalhaArquivo::abrir, errno ? errno : EACCES, caminho);
    tamanho = static_cast<std::uintmax_t>(st.st_size);
    return {};
}

} // namespace keldo::sim
