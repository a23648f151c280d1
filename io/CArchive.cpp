#include "io/CArchive.h"
#include <algorithm>
#include <cstring>

namespace keldo::io {

namespace {
constexpr uint16_t tagNovaClasse = 0xFFFF;
constexpr uint16_t marcaClasse = 0x8000;
constexpr uint16_t tagGrande = 0x7FFF;
constexpr uint32_t marcaClasseGrande = 0x80000000u;
constexpr size_t tamanhoBloco = 16 * 1024;
} // namespace

CArchive::CArchive() : armazenando(true) {}

CArchive::CArchive(const uint8_t* bytesLidos, size_t n)
    : armazenando(false), dados(bytesLidos), disponiveis(n), tamanho(n) {}

CArchive::CArchive(Leitor l, uint64_t n)
    : armazenando(false), leitor(std::move(l)), bloco(tamanhoBloco), dados(bloco.data()),
      tamanho(n) {}

void CArchive::escreverUInt32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
        saida.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void CArchive::escreverInt32(int32_t v) {
    escreverUInt32(static_cast<uint32_t>(v));
}
void CArchive::escreverUInt16(uint16_t v) {
    saida.push_back(static_cast<uint8_t>(v));
    saida.push_back(static_cast<uint8_t>(v >> 8));
}
void CArchive::escreverInt16(int16_t v) {
    escreverUInt16(static_cast<uint16_t>(v));
}
void CArchive::escreverUInt8(uint8_t v) {
    saida.push_back(v);
}
void CArchive::escreverFloat(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    escreverUInt32(bits);
}

void CArchive::escreverString(const std::string& texto) {
    const size_t n = texto.size();
    if (n < 0xFF) {
        escreverUInt8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        escreverUInt8(0xFF);
        escreverUInt16(static_cast<uint16_t>(n));
    } else {
        escreverUInt8(0xFF);
        escreverUInt16(0xFFFF);
        escreverUInt32(static_cast<uint32_t>(n));
    }
    saida.insert(saida.end(), texto.begin(), texto.end());
}

void CArchive::escreverContagem(uint32_t n) {
    if (n < 0xFFFF) {
        escreverUInt16(static_cast<uint16_t>(n));
        return;
    }
    escreverUInt16(0xFFFF);
    escreverUInt32(n);
}

void CArchive::escreverInicioObjeto(const char* nomeClasse, uint16_t esquema) {
    const auto existente = indiceDeClasse.find(nomeClasse);
    if (existente == indiceDeClasse.end()) {
        escreverUInt16(tagNovaClasse);
        escreverUInt16(esquema);
        const size_t n = std::strlen(nomeClasse);
        escreverUInt16(static_cast<uint16_t>(n));
        saida.insert(saida.end(), nomeClasse, nomeClasse + n);
        indiceDeClasse[nomeClasse] = proximoIndice++;
    } else if (existente->second < tagGrande) {
        escreverUInt16(static_cast<uint16_t>(marcaClasse | existente->second));
    } else {
        escreverUInt16(tagGrande);
        escreverUInt32(marcaClasseGrande | existente->second);
    }
    ++proximoIndice; // the object itself
}

const uint8_t* CArchive::tomar(size_t n) {
    if (restante() < n)
        throw ArchiveError("fim inesperado do arquivo", FalhaArquivo::fimDoArquivo);
    if (disponiveis - posicao < n)
        recarregar(n);
    const uint8_t* p = dados + posicao;
    posicao += n;
    lidos += n;
    return p;
}

// Keeps the bytes not yet taken and reads behind them until n are at hand.
void CArchive::recarregar(size_t n) {
    const size_t sobra = disponiveis - posicao;
    std::memmove(bloco.data(), bloco.data() + posicao, sobra);
    disponiveis = sobra;
    posicao = 0;
    while (disponiveis < n) {
        const size_t novos =
            leitor ? leitor(bloco.data() + disponiveis, bloco.size() - disponiveis) : 0;
        if (novos == 0)
            throw ArchiveError("fim inesperado do arquivo", FalhaArquivo::fimDoArquivo);
        disponiveis += novos;
    }
}

void CArchive::lerTexto(std::string& texto, uint64_t n) {
    if (restante() < n)
        throw ArchiveError("fim inesperado do arquivo", FalhaArquivo::fimDoArquivo);
    while (n > 0) {
        if (disponiveis == posicao)
            recarregar(1);
        const size_t parte = static_cast<size_t>(std::min<uint64_t>(n, disponiveis - posicao));
        texto.append(reinterpret_cast<const char*>(dados + posicao), parte);
        posicao += parte;
        lidos += parte;
        n -= parte;
    }
}

uint32_t CArchive::lerUInt32() {
    const uint8_t* p = tomar(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}
int32_t CArchive::lerInt32() {
    return static_cast<int32_t>(lerUInt32());
}
uint16_t CArchive::lerUInt16() {
    const uint8_t* p = tomar(2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int16_t CArchive::lerInt16() {
    return static_cast<int16_t>(lerUInt16());
}
uint8_t CArchive::lerUInt8() {
    return *tomar(1);
}
float CArchive::lerFloat() {
    const uint32_t bits = lerUInt32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string CArchive::lerString() {
    uint32_t n = lerUInt8();
    if (n == 0xFF) {
        n = lerUInt16();
        if (n == 0xFFFF)
            n = lerUInt32();
    }
    std::string texto;
    lerTexto(texto, n);
    return texto;
}

uint32_t CArchive::lerContagem() {
    uint32_t n = lerUInt16();
    if (n == 0xFFFF)
        n = lerUInt32();
    return n;
}

std::string CArchive::lerInicioObjeto(uint16_t esquemaEsperado) {
    const uint16_t tag = lerUInt16();
    std::string nome;
    if (tag == tagNovaClasse) {
        const uint16_t esquema = lerUInt16();
        lerTexto(nome, lerUInt16());
        if (esquema != esquemaEsperado)
            throw ArchiveError("esquema incorreto", FalhaArquivo::esquema);
        classeDeIndice[proximoIndice++] = nome;
    } else {
        uint32_t indice;
        if (tag == tagGrande) {
            indice = lerUInt32();
            if (!(indice & marcaClasseGrande))
                throw ArchiveError("objeto inesperado", FalhaArquivo::objetoInesperado);
            indice &= ~marcaClasseGrande;
        } else {
            if (!(tag & marcaClasse))
                throw ArchiveError("objeto inesperado", FalhaArquivo::objetoInesperado);
            indice = tag & ~marcaClasse;
        }
        const auto classe = classeDeIndice.find(indice);
        if (classe == classeDeIndice.end())
            throw ArchiveError("objeto inesperado", FalhaArquivo::objetoInesperado);
        nome = classe->second;
    }
    ++proximoIndice;
    return nome;
}

} // namespace keldo::io
