#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace keldo::io {

// What went wrong with a project file, for the programs to word it their way.
enum class FalhaArquivo {
    nenhuma,
    abrir,              // the file could not be read (`erroSistema` says why)
    salvar,             // the file could not be written (`erroSistema` says why)
    versao,             // not version 3000
    fimDoArquivo,       // the bytes end early
    objetoInesperado,   // a class or an object reference this program never writes
    esquema,            // a schema other than 1
    formato,            // any other layout this program never writes
    parametro,          // a parameter value the program cannot use
    alemDoLimite,       // more individuals and food items than a world may hold
    salvarAlemDoLimite, // a save refused: no program would open what it wrote
};

// A reading fault: the bytes end early or hold something this program never writes.
class ArchiveError : public std::runtime_error {
  public:
    explicit ArchiveError(const std::string& texto, FalhaArquivo t = FalhaArquivo::formato)
        : std::runtime_error(texto), tipo(t) {}
    FalhaArquivo tipo;
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
    // Puts up to n bytes at `destino` and returns how many; 0 at the end or on an error.
    using Leitor = std::function<size_t(uint8_t* destino, size_t n)>;
    // A loading archive that takes the `tamanho` bytes of a file from `leitor` a
    // block at a time, so that a damaged file is refused after reading only
    // its valid part.
    CArchive(Leitor leitor, uint64_t tamanho);

    bool IsStoring() const { return armazenando; }
    bool IsLoading() const { return !armazenando; }
    const std::vector<uint8_t>& bytes() const { return saida; }
    // Bytes not yet read, by the size given when loading began.
    uint64_t restante() const { return tamanho - lidos; }

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
    // The next n (at most 4) bytes, consumed.
    const uint8_t* tomar(size_t n);
    void recarregar(size_t n);
    // Appends the next n bytes to `texto`, as they arrive.
    void lerTexto(std::string& texto, uint64_t n);
    bool armazenando;
    std::vector<uint8_t> saida;
    Leitor leitor;
    std::vector<uint8_t> bloco;     // the block read last, when reading through `leitor`
    const uint8_t* dados = nullptr; // the bytes at hand: `bloco`, or all of them
    size_t disponiveis = 0;
    size_t posicao = 0; // in `dados`
    uint64_t tamanho = 0;
    uint64_t lidos = 0;
    uint32_t proximoIndice = 1;
    std::map<std::string, uint32_t> indiceDeClasse; // storing
    std::map<uint32_t, std::string> classeDeIndice; // loading
};

} // namespace keldo::io
