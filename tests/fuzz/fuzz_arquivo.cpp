// libFuzzer target of the project-file reader. KELDO_FUZZ_CICLOS cycles run
// on every world read (0: the reader and the save alone).
#include "VerificacaoArquivo.h"
#include <cstdio>
#include <cstdlib>

#ifndef KELDO_FUZZ_CICLOS
#define KELDO_FUZZ_CICLOS 0
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const ResultadoVerificacao v = verificarArquivoProjeto(dados, tamanho, KELDO_FUZZ_CICLOS);
    if (!v.falha.empty()) {
        std::fprintf(stderr, "keldo fuzz: %s\n", v.falha.c_str());
        std::abort();
    }
    return 0;
}
