// The trace file (one block per cycle) and the snapshot file of a save.
#include "sim/CKeldoDoc.h"
#include <cstdio>
#include <filesystem>
#include <string>

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
} // namespace

bool CKeldoDoc::escreverTrace(const std::string& nomeArquivo, bool anexarAoFim) const {
    // A snapshot is written beside its name and renamed over it, so a full
    // disk never leaves the previous snapshot of that number half-written.
    const std::string destino = anexarAoFim ? nomeArquivo : nomeArquivo + ".tmp~";
    std::FILE* arquivo = std::fopen(destino.c_str(), anexarAoFim ? "ab" : "wb");
    if (!arquivo)
        return false;
    // Lines go out in blocks of about a megabyte, so a world with millions of
    // dead never holds its whole trace in memory.
    constexpr size_t tamanhoBloco = 1 << 20;
    std::string bloco;
    bloco.reserve(tamanhoBloco + 512);
    bool escrito = true;
    auto esvaziar = [&] {
        escrito = escrito && std::fwrite(bloco.data(), 1, bloco.size(), arquivo) == bloco.size();
        bloco.clear();
    };
    auto anexar = [&](const SpecX& i) {
        anexarLinha(bloco, i, anexarAoFim, tempo);
        if (bloco.size() >= tamanhoBloco)
            esvaziar();
    };
    if (!anexarAoFim)
        bloco += cabecalho;
    const bool lidos = paraCadaMorto(anexar);
    for (const SpecX& i : vivos)
        anexar(i);
    esvaziar();
    escrito = escrito && lidos;
    const bool fechado = std::fclose(arquivo) == 0;
    if (anexarAoFim)
        return escrito && fechado;
    std::error_code erro;
    if (escrito && fechado)
        std::filesystem::rename(destino, nomeArquivo, erro);
    if (!escrito || !fechado || erro) {
        std::filesystem::remove(destino, erro);
        return false;
    }
    return true;
}

std::string CKeldoDoc::nomeSnapshot(const std::string& caminhoProjeto) const {
    const size_t ponto = caminhoProjeto.rfind('.');
    const std::string raiz =
        ponto == std::string::npos ? std::string() : caminhoProjeto.substr(0, ponto);
    char numero[16];
    std::snprintf(numero, sizeof numero, "%03d", numSnapshot);
    return raiz + numero + ".txt";
}
