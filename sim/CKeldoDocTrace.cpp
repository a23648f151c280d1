// The trace file (one block per cycle) and the snapshot file of a save.
#include "io/GravacaoSegura.h"
#include "sim/CKeldoDoc.h"
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace keldo::sim {

using namespace keldo::io;

namespace {
// Windows-1252 text with CR LF line ends, as the analysis scripts expect.
constexpr const char* cabecalho =
    "Id;IdPai;IdM\xE3"
    "e;Gera\xE7\xE3o;Vivo;Adulto;Sexo;DetecX;DetecX/CuidaY;Livre;loopNasc;loopMorto;Energia;"
    "Vis\xE3oP7;Vis\xE3oP6;ReproP5;PartP4;LutaP3;MorteP2;IntelP1;IntelP0;NeutroP0;"
    "Vis\xE3oM7;Vis\xE3oM6;ReproM5;PartM4;LutaM3;MorteM2;IntelM1;IntelM0;NeutroM0;\r\n";

void anexarLinha(std::string& bloco, const SpecX& i, bool comTempo, int tempo) {
    char texto[256];
    int n = 0;
    if (comTempo)
        n = std::snprintf(texto, sizeof texto, "%d;", tempo);
    n += std::snprintf(texto + n, sizeof texto - n, "%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d;%d", i.id,
                       i.idPai, i.idMae, static_cast<int>(i.geracao), i.vivo(), i.adulto(),
                       i.sexo(), i.detecXBit(), i.detecXCuidaYBit(), static_cast<int>(i.livre),
                       i.loopNasc, i.loopMorto, i.energia);
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
            bloco += cabecalho;
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
