// Writes the seed files of the fuzz corpus into the folder given:
//   keldo_gerar_corpus tests/fuzz/corpus
#include "SementesCorpus.h"
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s PASTA\n", argv[0]);
        return 2;
    }
    const std::filesystem::path pasta = argv[1];
    std::filesystem::create_directories(pasta);
    for (const Semente& s : sementesDoCorpus(false)) {
        std::ofstream arquivo(pasta / (s.nome + ".gen"), std::ios::binary | std::ios::trunc);
        arquivo.write(reinterpret_cast<const char*>(s.bytes.data()),
                      static_cast<std::streamsize>(s.bytes.size()));
        if (!arquivo.flush()) {
            std::fprintf(stderr, "nao foi possivel escrever %s\n", s.nome.c_str());
            return 1;
        }
    }
    return 0;
}
