// The arena view: what a frame shows and what painting costs the simulation.
#include "IndividuoTeste.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/ImagensArena.h"
#include <QPainter>
#include <gtest/gtest.h>

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
        doc().vivosEditaveis().clear();
        doc().mortosEditaveis().clear();
        doc().alimentosEditaveis().clear();
        doc().definirOvos(0);
        doc().parametrosEditaveis().nivelObstaculos = std::string(1, '0'); // the plain background
        doc().escolherNivel();
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
        a.doc().mortosEditaveis().push_back(a.doc().vivosEditaveis().back());
        a.doc().vivosEditaveis().pop_back();
    }
    a.doc().alimentosEditaveis().front().image = -1; // no image: its draws are still taken
    const size_t n = a.doc().vivos().size() + a.doc().alimentos().size();
    ASSERT_GT(n, 100u);
    Random esperado = a.doc().gerador();
    for (size_t i = 0; i < 2 * n; ++i)
        esperado.proximo();
    a.pintar();
    EXPECT_EQ(a.doc().gerador().estadoAtual(), esperado.estadoAtual());

    a.doc().parametrosEditaveis().mostrarEnergia = 1; // numbers cost nothing
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
    a.doc().registrar(comida);
    ASSERT_EQ(comida.image, ImagensArena::alimento);
    a.doc().alimentosEditaveis().push_back(comida);
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
    a.doc().parametrosEditaveis().mostrarEnergia = 1;
    SpecX s = individuo(30.0f, 30.0f, true, true, 0);
    s.limiarReproducao = 200;
    s.energia = 200;
    a.doc().registrar(s);
    a.doc().vivosEditaveis().push_back(s);
    // The number's cell starts at (trunc(640 × 30 / 99) − 14, trunc(480 × 31 / 99)) =
    // (179, 150); its left part and its lower part stick out from under the image.
    const QRect celula(179, 150, 30, 13);
    QImage img = a.pintar();
    EXPECT_GT(contar(img, celula, ciano), 5);

    a.doc().vivosEditaveis().front().energia = 199;
    img = a.pintar();
    EXPECT_EQ(contar(img, celula, ciano), 0);
    EXPECT_GT(contar(img, celula, escuro), 5);

    a.doc().parametrosEditaveis().mostrarEnergia = 0;
    img = a.pintar();
    // Below the image (which ends by row 154 whatever the jitter) only the field shows.
    const QRect abaixoDaImagem(179, 155, 30, 8);
    EXPECT_EQ(contar(img, abaixoDaImagem, escuro), 0);

    // Food energies are black.
    a.esvaziar();
    a.doc().parametrosEditaveis().mostrarEnergia = 1;
    FoodX comida;
    comida.x = 30.0f;
    comida.y = 30.0f;
    comida.valorEnergetico = 250;
    a.doc().registrar(comida);
    a.doc().alimentosEditaveis().push_back(comida);
    img = a.pintar();
    EXPECT_EQ(contar(img, celula, ciano), 0);
    EXPECT_GT(contar(img, abaixoDaImagem, escuro), 3);
}

TEST(VistaArena, OvoNovoMostraOvoEAoEclodirAImagemDeAdulto) {
    Arena a;
    a.esvaziar();
    a.doc().parametrosEditaveis().tipoGeracoes = 1;
    a.doc().parametrosEditaveis().numIndDiscretas = 1;
    // A male egg with MM at the Morte locus (bit 3 set on both haplotypes).
    SpecX ovo = individuo(60.0f, 40.0f, true, false, 0x0008);
    a.doc().registrar(ovo);
    EXPECT_EQ(ovo.image, ImagensArena::ovo);
    a.doc().vivosEditaveis().push_back(ovo);
    a.doc().definirOvos(1);
    const int px = static_cast<int>(640.0f * 60.0f / 99.0f);
    const int py = static_cast<int>(480.0f * 40.0f / 99.0f);

    Random r = a.doc().gerador();
    int jy = r.proximo() % 2;
    int jx = r.proximo() % 2;
    EXPECT_EQ(a.pintar(), a.esperado(ImagensArena::ovo, px - 10 + jx, py - 10 + jy));

    a.doc().renovarGeracao();
    ASSERT_EQ(a.doc().vivos().size(), 1u);
    EXPECT_EQ(a.doc().vivos().front().image, ImagensArena::machoMM);
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
