#pragma once
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

// A reading fault: the bytes end early or hold something this program never writes.
class ArchiveError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Little-endian binary archive with the object-reference framing of project
// files: a class is named on its first use and referred to by index after it;
// classes and objects share one index counter.
class CArchive {
  public:
    // A storing archive that appends to an in-memory buffer.
    CArchive();
    // A loading archive over bytes that must outlive it.
    CArchive(const uint8_t* dados, size_t tamanho);

    bool IsStoring() const { return armazenando; }
    bool IsLoading() const { return !armazenando; }
    const std::vector<uint8_t>& bytes() const { return saida; }
    size_t restante() const { return tamanho - posicao; }

    void escreverInt32(int32_t v);
    void escreverUInt32(uint32_t v);
    void escreverInt16(int16_t v);
    void escreverUInt16(uint16_t v);
    void escreverUInt8(uint8_t v);
    void escreverFloat(float v);
    void escreverString(const std::string& texto);
    void escreverContagem(uint32_t n);
    // Writes the reference of a new object of the given class.
    void escreverInicioObjeto(const char* nomeClasse, uint16_t esquema);

    int32_t lerInt32();
    uint32_t lerUInt32();
    int16_t lerInt16();
    uint16_t lerUInt16();
    uint8_t lerUInt8();
    float lerFloat();
    std::string lerString();
    uint32_t lerContagem();
    // Reads the reference of a new object and returns its class name; a
    // reference to an object already read, an unknown class index or a wrong
    // schema raise ArchiveError.
    std::string lerInicioObjeto(uint16_t esquemaEsperado);

  private:
    void exigir(size_t n);
    bool armazenando;
    std::vector<uint8_t> saida;
    const uint8_t* dados = nullptr;
    size_t tamanho = 0;
    size_t posicao = 0;
    uint32_t proximoIndice = 1;
    std::map<std::string, uint32_t> indiceDeClasse; // storing
    std::map<uint32_t, std::string> classeDeIndice; // loading
};
