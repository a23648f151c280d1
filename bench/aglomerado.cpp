// keldo_aglomerado: the worlds of bench/aglomerado.sh.
//   keldo_aglomerado criar N SEMENTE ARQUIVO.gen [natural|aglomerado|com-alimento]
// A world of N founders on the L settings (bench/MundosDeReferencia.h), every one an adult
// ready to mate (energy 400, the highest default threshold).
// "aglomerado" (the default) puts every founder on one point; "com-alimento" puts the food there
// too; "natural" leaves the founders where the world put them. N may exceed what a new world
// may ask for.
#include "bench/MundosDeReferencia.h"
#include "tests/apoio/AcessoDocumento.h"
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace keldo::model;
using namespace keldo::sim;

namespace {
int uso() {
    std::fputs("uso: keldo_aglomerado criar N SEMENTE ARQUIVO.gen "
               "[natural|aglomerado|com-alimento]\n",
               stderr);
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || argc > 6 || std::string(argv[1]) != "criar")
        return uso();
    const std::string tipo = argc == 6 ? argv[5] : "aglomerado";
    if (tipo != "natural" && tipo != "aglomerado" && tipo != "com-alimento")
        return uso();
    CKeldoDoc doc;
    mundos::criarFundadores(doc, std::atoi(argv[2]),
                            static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)));
    if (doc.vivos().empty())
        return uso();
    // The first founder's spot, which world creation kept clear of obstacles.
    const float pontoX = doc.vivos().front().x, pontoY = doc.vivos().front().y;
    for (SpecX& i : AcessoDocumento::vivosEditaveis(doc)) {
        i.definirBit(EstadoBit::adulto, true);
        i.energia = 400;
        if (tipo != "natural") {
            i.x = pontoX;
            i.y = pontoY;
        }
    }
    AcessoDocumento::definirOvos(doc, 0);
    if (tipo == "com-alimento")
        for (FoodX& f : AcessoDocumento::alimentosEditaveis(doc)) {
            f.x = pontoX;
            f.y = pontoY;
        }
    const ResultadoArquivo r = doc.salvarProjeto(argv[4], false);
    if (!r.ok)
        std::fprintf(stderr, "%s\n", r.mensagem.c_str());
    return r.ok ? 0 : 1;
}
