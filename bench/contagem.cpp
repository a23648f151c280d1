// keldo_contagem: the helper of bench/run.sh.
//   keldo_contagem criar N SEMENTE ARQUIVO.gen   a world of N founders on the L settings
//   keldo_contagem contar ARQUIVO.gen TEMPO0     individual-cycles, births and final
//                                                population since cycle TEMPO0
#include "bench/MundosDeReferencia.h"
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace keldo::sim;

namespace {
int uso() {
    std::fputs("uso: keldo_contagem criar N SEMENTE ARQUIVO.gen\n"
               "     keldo_contagem contar ARQUIVO.gen TEMPO0\n",
               stderr);
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 4)
        return uso();
    const std::string comando = argv[1];
    CKeldoDoc doc;
    if (comando == "criar" && argc == 5) {
        mundos::criarFundadores(doc, std::atoi(argv[2]),
                                static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
        const ResultadoArquivo r = doc.salvarProjeto(argv[4], false);
        if (!r.ok)
            std::fprintf(stderr, "%s\n", r.mensagem.c_str());
        return r.ok ? 0 : 1;
    }
    if (comando == "contar" && argc == 4) {
        const ResultadoArquivo r = doc.carregarProjeto(argv[2]);
        if (!r.ok) {
            std::fprintf(stderr, "%s\n", r.mensagem.c_str());
            return 1;
        }
        const mundos::Contagem c = mundos::contarDesde(doc, std::atoi(argv[3]));
        std::printf("%lld %lld %lld\n", static_cast<long long>(c.individuosCiclos),
                    static_cast<long long>(c.nascimentos), static_cast<long long>(c.vivosAoFim));
        return 0;
    }
    return uso();
}
