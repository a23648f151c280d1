// The trace file (one block per cycle) and the snapshot file of a save.
#include "io/Cp1252.h"
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace keldo::sim {

using namespace keldo::io;
using namespace keldo::model;

namespace {
// The allele columns of each haplotype, one per gene bit from the highest down:
// the gene owning the bit, the stem of its column's name and the column's
// number. The numbers are the analysis scripts' (Neutro, the last gene added,
// took bit 0 and the numbers of the others stayed), so they are written here;
// the owner of each bit and the stems are checked against the genome table.
struct ColunaAlelo {
    Genoma::Gene gene;
    std::string_view raiz; // UTF-8, a prefix of the gene's name
    int numero;
};
constexpr ColunaAlelo colunasAlelo[] = {
    {Genoma::Visao, "Visão", 7},        {Genoma::Visao, "Visão", 6},
    {Genoma::Reproducao, "Repro", 5},   {Genoma::Partilha, "Part", 4},
    {Genoma::Luta, "Luta", 3},          {Genoma::Morte, "Morte", 2},
    {Genoma::Inteligencia, "Intel", 1}, {Genoma::Inteligencia, "Intel", 0},
    {Genoma::Neutro, "Neutro", 0}};

constexpr bool colunasSeguemOGenoma() {
    if (std::size(colunasAlelo) != Genoma::bitsComGenes)
        return false;
    for (int k = 0; k < Genoma::bitsComGenes; ++k) {
        const int bit = Genoma::bitsComGenes - 1 - k;
        const ColunaAlelo& c = colunasAlelo[k];
        const Genoma::DescricaoGene& g = Genoma::genes[c.gene];
        if (g.cromossomo != Genoma::Cromossomo::autossomo || bit < g.bitBaixo ||
            bit >= g.bitBaixo + g.numBits || !std::string_view(g.nome).starts_with(c.raiz))
            return false;
    }
    return true;
}
static_assert(colunasSeguemOGenoma(), "the trace's allele columns must follow model/Genoma.h");

// Windows-1252 text with CR LF line ends, as the analysis scripts expect.
std::string montarCabecalho() {
    std::string texto =
        "Id;IdPai;IdMãe;Geração;Vivo;Adulto;Sexo;DetecX;DetecX/CuidaY;Livre;loopNasc;"
        "loopMorto;Energia;";
    for (char haplotipo : {'P', 'M'})
        for (const ColunaAlelo& c : colunasAlelo) {
            texto += c.raiz;
            texto += haplotipo;
            texto += static_cast<char>('0' + c.numero);
            texto += ';';
        }
    return utf8ParaCp1252(texto) + "\r\n";
}

const std::string& cabecalho() {
    static const std::string texto = montarCabecalho();
    return texto;
}

void anexarLinha(std::string& bloco, const SpecX& i, bool comTempo, int tempo) {
    char texto[256];
    int n = 0;
    if (comTempo)
        n = std::snprintf(texto, sizeof texto, "%d;", tempo);
    n += std::snprintf(texto + n, sizeof texto - n, "%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d", i.id,
                       i.idPai, i.idMae, static_cast<int>(i.geracao), i.vivo(), i.adulto(),
                       i.sexo(), i.detecXBit(), i.detecXCuidaYBit(), i.livre(), i.loopNasc,
                       i.loopMorto, i.energia);
    bloco.append(texto, static_cast<size_t>(n));
    for (uint16_t palavra : {i.genotipoP, i.genotipoM})
        for (int b = Genoma::bitsComGenes - 1; b >= 0; --b) {
            bloco += ';';
            bloco += static_cast<char>('0' + Genoma::bit(palavra, b));
        }
    bloco += "\r\n";
}

int erroOu(int padrao) {
    return errno ? errno : padrao;
}
} // namespace

// The trace grows at its end; a snapshot replaces its file whole, so a full
// disk never leaves the previous snapshot of that number half-written.
bool CKeldoDoc::escreverTrace(const std::string& nomeArquivo, bool anexarAoFim,
                              int* erroSistema) const {
    int erro = 0;
    std::optional<GravacaoSegura> snapshot;
    std::FILE* trace = nullptr;
    errno = 0;
    if (anexarAoFim && !(trace = std::fopen(nomeArquivo.c_str(), "ab")))
        erro = erroOu(EIO);
    if (!anexarAoFim)
        erro = snapshot.emplace(nomeArquivo).erro();
    // Lines go out in blocks of about a megabyte, so a world with millions of
    // dead never holds its whole trace in memory.
    constexpr size_t tamanhoBloco = 1 << 20;
    std::string bloco;
    auto esvaziar = [&] {
        if (erro == 0 && snapshot && !snapshot->escrever(bloco.data(), bloco.size()))
            erro = snapshot->erro();
        if (erro == 0 && trace && std::fwrite(bloco.data(), 1, bloco.size(), trace) != bloco.size())
            erro = erroOu(EIO);
        bloco.clear();
    };
    auto anexar = [&](const SpecX& i) {
        anexarLinha(bloco, i, anexarAoFim, tempo_);
        if (bloco.size() >= tamanhoBloco)
            esvaziar();
    };
    if (erro == 0) {
        bloco.reserve(tamanhoBloco + 512);
        if (!anexarAoFim)
            bloco += cabecalho();
        if (!paraCadaMorto(anexar))
            erro = EIO; // the dead kept on disk could not be read back
        for (const SpecX& i : vivos_)
            anexar(i);
        esvaziar();
    }
    if (snapshot && erro == 0 && !snapshot->concluir())
        erro = snapshot->erro();
    if (trace && std::fclose(trace) != 0 && erro == 0)
        erro = erroOu(EIO);
    if (erro && erroSistema)
        *erroSistema = erro;
    return erro == 0;
}

std::string CKeldoDoc::nomeSnapshot(const std::string& caminhoProjeto) const {
    char numero[16];
    std::snprintf(numero, sizeof numero, "%03d", numSnapshot_);
    return raizSnapshot(caminhoProjeto) + numero + ".txt";
}

// The project's path up to the last dot of its file name: the snapshot lies
// beside the project whatever dots its folders have or its name lacks.
std::string CKeldoDoc::raizSnapshot(const std::string& caminhoProjeto) {
    const size_t barra = caminhoProjeto.rfind('/');
    const size_t inicioNome = barra == std::string::npos ? 0 : barra + 1;
    const size_t ponto = caminhoProjeto.rfind('.');
    if (ponto == std::string::npos || ponto < inicioNome)
        return caminhoProjeto;
    return caminhoProjeto.substr(0, ponto);
}

// A project written to a device or to standard output has no folder to put
// a snapshot in.
bool CKeldoDoc::temSnapshot(const std::string& caminhoProjeto) {
    struct stat st {};
    if (caminhoProjeto == "-")
        return false;
    return ::stat(caminhoProjeto.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

} // namespace keldo::sim
