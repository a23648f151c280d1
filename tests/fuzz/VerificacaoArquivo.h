#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What one input did to the project-file reader.
struct ResultadoVerificacao {
    bool aceito = false; // the bytes became a world
    std::string falha;   // empty when every property held
};

// The reader's promise for any bytes at all: either a refusal with a message
// that leaves the world in memory as it was, or a world that saves to bytes
// which read back and save again to the very same bytes. With `ciclos` > 0
// the world read also runs that many cycles and must still save and read
// back. Shared by the fuzzer and the replay of its corpus.
ResultadoVerificacao verificarArquivoProjeto(const uint8_t* dados, size_t tamanho, int ciclos);
