// The arena view: what a frame shows and what painting costs the simulation.
#include "AcessoDocumento.h"
#include "IndividuoTeste.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/ImagensArena.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

struct Arena {
    CMainFrame frame;
    Arena() {
        frame.documento().definirSementeFixa(4242u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
    }
    CKeldoDoc& doc() { return frame.documento(); }
    CKeldoView& view() { return *frame.vista(); }

    // An empty world on the plain field.
    void esvaziar() {
        AcessoDocumento::vivosEditaveis(doc()).clear();
        AcessoDocumento::mortosEditaveis(doc()).clear();
        AcessoDocumento::alimentosEditaveis(doc()).clear();
        AcessoDocumento::definirOvos(doc(), 0);
        AcessoDocumento::parametrosEditaveis(doc()).nivelObstaculos =
            std::string(1, '0'); // the plain background
        AcessoDocumento::escolherNivel(doc());
    }
    QImage pintar() {
        QImage img(640, 480, QImage::Format_RGB32);
        QPainter p(&img);
        view().desenhar(p);
        return img;
    }
    // The frame expected when the only item is drawn with `imagem` at (left, top).
    QImage esperado(int imagem, int left, int top) {
        QImage img(640, 480, QImage::Format_RGB32);
        QPainter p(&img);
        p.drawPixmap(0, 0, view().fundo(doc().bitmapFundo()));
        p.drawPixmap(left, top, view().imagem(imagem));
        return img;
    }
};

SpecX individuo(float x, float y, bool macho, bool adulto, uint16_t genotipo) {
    return IndividuoTeste()
        .em(x, y)
        .estado(EstadoBit::vivo | (macho ? EstadoBit::sexo : 0) | (adulto ? EstadoBit::adulto : 0))
        .genotipo(genotipo)
        .pronto();
}

// Colour classes of the energy numbers on the light blue field.
bool ciano(QRgb c) {
    return qRed(c) < 80 && qGreen(c) > 200 && qBlue(c) > 200;
}
bool escuro(QRgb c) {
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}

int contar(const QImage& img, QRect area, bool (*teste)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += teste(img.pixel(x, y));
    return n;
}

} // namespace

TEST(VistaArena, PintarNItensTiraDoisNumerosPorItemENaoDesenhaMortos) {
    Arena a;
    // Some of the living die; the dead are never painted and draw nothing.
    for (int i = 0; i < 7; ++i) {
        AcessoDocumento::mortosEditaveis(a.doc()).push_back(
            AcessoDocumento::vivosEditaveis(a.doc()).back());
        AcessoDocumento::vivosEditaveis(a.doc()).pop_back();
    }
    AcessoDocumento::alimentosEditaveis(a.doc()).front().image =
        -1; // no image: its draws are still taken
    const size_t n = a.doc().vivos().size() + a.doc().alimentos().size();
    ASSERT_GT(n, 100u);
    Random esperado = a.doc().gerador();
    for (size_t i = 0; i < 2 * n; ++i)
        esperado.proximo();
    a.pintar();
    EXPECT_EQ(a.doc().gerador().estadoAtual(), esperado.estadoAtual());

    AcessoDocumento::parametrosEditaveis(a.doc()).mostrarEnergia = 1; // numbers cost nothing
    for (size_t i = 0; i < 2 * n; ++i)
        esperado.proximo();
    a.pintar();
    EXPECT_EQ(a.doc().gerador().estadoAtual(), esperado.estadoAtual());
}

TEST(VistaArena, ItemTremeConformeAsDuasTiragensVerticalPrimeiro) {
    Arena a;
    a.esvaziar();
    FoodX comida;
    comida.x = 50.0f;
    comida.y = 50.0f;
    AcessoDocumento::registrar(a.doc(), comida);
    ASSERT_EQ(comida.image, ImagensArena::alimento);
    AcessoDocumento::alimentosEditaveis(a.doc()).push_back(comida);
    // Seeds whose two draws differ, so that swapping them would move the item.
    for (uint32_t semente : {1u, 2u, 3u, 4u, 5u, 6u}) {
        Random r(semente);
        const int jy = r.proximo() % 2;
        const int jx = r.proximo() % 2;
        if (jy == jx)
            continue;
        a.doc().semear(semente);
        // 640 × 50 / 99 = 323.2 and 480 × 50 / 99 = 242.4, truncated.
        EXPECT_EQ(a.pintar(), a.esperado(ImagensArena::alimento, 323 - 10 + jx, 242 - 10 + jy))
            << "seed " << semente;
    }
}

TEST(VistaArena, EnergiaNoLimiarDeReproducaoEmCianoAbaixoDeleEmPreto) {
    Arena a;
    a.esvaziar();
    AcessoDocumento::parametrosEditaveis(a.doc()).mostrarEnergia = 1;
    SpecX s = individuo(30.0f, 30.0f, true, true, 0);
    s.limiarReproducao = 200;
    s.energia = 200;
    AcessoDocumento::vivosEditaveis(a.doc()).push_back(s);
    // The number's cell starts at (trunc(640 × 30 / 99) − 14, trunc(480 × 31 / 99)) =
    // (179, 150); its left part and its lower part stick out from under the image.
    const QRect celula(179, 150, 30, 13);
    QImage img = a.pintar();
    EXPECT_GT(contar(img, celula, ciano), 5);

    AcessoDocumento::vivosEditaveis(a.doc()).front().energia = 199;
    img = a.pintar();
    EXPECT_EQ(contar(img, celula, ciano), 0);
    EXPECT_GT(contar(img, celula, escuro), 5);

    AcessoDocumento::parametrosEditaveis(a.doc()).mostrarEnergia = 0;
    img = a.pintar();
    // Below the image (which ends by row 154 whatever the jitter) only the field shows.
    const QRect abaixoDaImagem(179, 155, 30, 8);
    EXPECT_EQ(contar(img, abaixoDaImagem, escuro), 0);

    // Food energies are black.
    a.esvaziar();
    AcessoDocumento::parametrosEditaveis(a.doc()).mostrarEnergia = 1;
    FoodX comida;
    comida.x = 30.0f;
    comida.y = 30.0f;
    comida.valorEnergetico = 250;
    AcessoDocumento::registrar(a.doc(), comida);
    AcessoDocumento::alimentosEditaveis(a.doc()).push_back(comida);
    img = a.pintar();
    EXPECT_EQ(contar(img, celula, ciano), 0);
    EXPECT_GT(contar(img, abaixoDaImagem, escuro), 3);
}

TEST(VistaArena, OvoNovoMostraOvoEAoEclodirAImagemDeAdulto) {
    Arena a;
    a.esvaziar();
    AcessoDocumento::parametrosEditaveis(a.doc()).tipoGeracoes = 1;
    AcessoDocumento::parametrosEditaveis(a.doc()).numIndDiscretas = 1;
    // A male egg with MM at the Morte locus (bit 3 set on both haplotypes).
    SpecX ovo = individuo(60.0f, 40.0f, true, false, 0x0008);
    AcessoDocumento::vivosEditaveis(a.doc()).push_back(ovo);
    AcessoDocumento::definirOvos(a.doc(), 1);
    const int px = static_cast<int>(640.0f * 60.0f / 99.0f);
    const int py = static_cast<int>(480.0f * 40.0f / 99.0f);

    Random r = a.doc().gerador();
    int jy = r.proximo() % 2;
    int jx = r.proximo() % 2;
    EXPECT_EQ(a.pintar(), a.esperado(ImagensArena::ovo, px - 10 + jx, py - 10 + jy));

    AcessoDocumento::renovarGeracao(a.doc());
    ASSERT_EQ(a.doc().vivos().size(), 1u);
    r = a.doc().gerador();
    jy = r.proximo() % 2;
    jx = r.proximo() % 2;
    EXPECT_EQ(a.pintar(), a.esperado(ImagensArena::machoMM, px - 10 + jx, py - 10 + jy));
}

TEST(ImagensDaArena, FundosMostramOsObstaculosExatamenteNasTabelas) {
    const struct {
        int fundo;
        char nivel;
        size_t retangulos;
    } niveis[] = {{145, 'r', 0}, {141, 'f', 12}, {142, 'm', 15}, {143, 'd', 29}};
    for (const auto& n : niveis) {
        const QImage img = ImagensArena::imagemFundo(n.fundo);
        ASSERT_EQ(img.size(), QSize(640, 480));
        std::vector<Rect> rects;
        for (int metade = 0; metade < 2; ++metade)
            for (const Rect& r : CKeldoDoc::tabelaObstaculos(n.nivel, metade))
                rects.push_back(r);
        EXPECT_EQ(rects.size(), n.retangulos);
        int erradas = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                bool dentro = false;
                for (const Rect& r : rects)
                    dentro |= x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const bool campo = img.pixelColor(x, y) == ImagensArena::corCampo();
                erradas += dentro == campo;
            }
        }
        EXPECT_EQ(erradas, 0) << "level " << n.nivel;
    }
}

TEST(ImagensDaArena, FormaDizOSexoECorDizOsAlelosM) {
    auto mascara = [](int i) {
        return ImagensArena::comTransparencia(ImagensArena::imagemItem(i),
                                              ImagensArena::corTransparente())
            .convertToFormat(QImage::Format_Alpha8);
    };
    for (int i = 0; i < ImagensArena::numImagens; ++i) {
        const QImage img = ImagensArena::imagemItem(i);
        EXPECT_EQ(img.size(), QSize(19, 19));
        // White is only ever the transparent colour: corners are free.
        EXPECT_EQ(img.pixelColor(0, 18), ImagensArena::corTransparente());
        for (int k = i + 1; k < ImagensArena::numImagens; ++k)
            EXPECT_NE(img, ImagensArena::imagemItem(k)) << i << " " << k;
    }
    // Males 0..2 share one shape, females 3..5 another.
    EXPECT_EQ(mascara(0), mascara(1));
    EXPECT_EQ(mascara(0), mascara(2));
    EXPECT_EQ(mascara(3), mascara(4));
    EXPECT_EQ(mascara(3), mascara(5));
    EXPECT_NE(mascara(0), mascara(3));
    // Same m-allele count, same fill: the centre pixel of the body.
    EXPECT_EQ(ImagensArena::imagemItem(0).pixelColor(6, 13),
              ImagensArena::imagemItem(3).pixelColor(8, 9));
    EXPECT_EQ(ImagensArena::imagemItem(2).pixelColor(6, 13),
              ImagensArena::imagemItem(5).pixelColor(8, 9));
}

// An individual's picture is the view's reading of its state as it paints: it
// needs no registration and follows a change the document never saw.
TEST(VistaArena, ImagemDoIndividuoSegueSeuEstadoSemRegistro) {
    Arena a;
    a.esvaziar();
    // A female Mm at the Morte locus (bit 3 on the paternal word only), never registered.
    AcessoDocumento::vivosEditaveis(a.doc()).push_back(individuo(60.0f, 40.0f, false, true, 0));
    AcessoDocumento::vivosEditaveis(a.doc()).front().genotipoP = 0x0008;
    const int px = static_cast<int>(640.0f * 60.0f / 99.0f);
    const int py = static_cast<int>(480.0f * 40.0f / 99.0f);
    const struct {
        uint8_t estado;
        int imagem;
    } casos[] = {{EstadoBit::vivo | EstadoBit::adulto, ImagensArena::femeaMm},
                 {EstadoBit::vivo | EstadoBit::adulto | EstadoBit::sexo, ImagensArena::machoMm},
                 {EstadoBit::vivo | EstadoBit::sexo, ImagensArena::ovo}};
    for (const auto& c : casos) {
        AcessoDocumento::vivosEditaveis(a.doc()).front().estado = c.estado;
        Random r = a.doc().gerador();
        const int jy = r.proximo() % 2;
        const int jx = r.proximo() % 2;
        EXPECT_EQ(a.pintar(), a.esperado(c.imagem, px - 10 + jx, py - 10 + jy))
            << "estado " << int(c.estado);
    }
}
