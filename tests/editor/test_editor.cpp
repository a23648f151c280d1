#include "AcessoDocumento.h"
#include "EditorFixture.h"
#include "editor/Textos.h"
#include <QPushButton>
#include <set>

using namespace keldo::editor;
using namespace keldo::sim;

TEST_F(Editor, ComecaVazioEAbrirMostraVivosDepoisMortosESelecionaOUltimo) {
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Keldo GE - Editor de Genótipos: Untitled"));
    EXPECT_FALSE(janela->acaoSalvar()->isEnabled());
    EXPECT_FALSE(janela->acaoSalvarComo()->isEnabled());
    EXPECT_FALSE(view()->isEnabled());
    EXPECT_EQ(view()->contador()->text(), "0");
    EXPECT_TRUE(janela->documento().doc.vivos().empty());
    EXPECT_TRUE(janela->documento().doc.alimentos().empty());

    abrirNovo();
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Keldo GE - Editor de Genótipos: a.gen"));
    EXPECT_TRUE(janela->acaoSalvar()->isEnabled());
    EXPECT_TRUE(view()->isEnabled());
    const CKeldoDoc& d = janela->documento().doc;
    ASSERT_EQ(linhas(), int(d.vivos().size() + d.mortos().size()));
    EXPECT_EQ(view()->contador()->text(), QString::number(linhas()));
    EXPECT_EQ(linha(0).id, d.vivos().front().id);
    EXPECT_EQ(linha(linhas() - 1).id, d.mortos().back().id);
    EXPECT_EQ(view()->linhasSelecionadas(), std::vector<int>{linhas() - 1});
    EXPECT_EQ(view()->campoId()->text(), QString::number(d.mortos().back().id));
    EXPECT_TRUE(view()->botao(1069)->isChecked()); // the last row is dead
    EXPECT_EQ(modelo().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Vida");

    // Ctrl+A is Abrir wherever the focus is, also in the list and in "Qtde.".
    int pedidos = 0;
    janela->dialogos.abrir = [&](const QString&) {
        ++pedidos;
        return QString();
    };
    QTest::keyClick(lista(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view()->campoQtde(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pedidos, 2);
    EXPECT_EQ(view()->linhasSelecionadas().size(), 1u);
}

TEST_F(Editor, CliqueReproducaoPaternaMudaOBit6DaPalavraCertaSoDaSelecao) {
    abrirNovo();
    std::vector<int> escolhidas;
    for (int r = 0; r < linhas() && escolhidas.size() < 3; r += 5)
        if (linha(r).genotipoM & 0x40)
            escolhidas.push_back(r);
    ASSERT_EQ(escolhidas.size(), 3u);
    const std::vector<SpecX> antes = modelo().individuos();
    selecionar(escolhidas);
    clicarBotao(1052);

    const std::set<int> conjunto(escolhidas.begin(), escolhidas.end());
    for (int r = 0; r < linhas(); ++r) {
        SpecX esperado = antes[static_cast<size_t>(r)];
        if (conjunto.count(r))
            esperado.genotipoM = static_cast<uint16_t>(esperado.genotipoM & ~0x40);
        EXPECT_TRUE(mesmoRegistro(linha(r), esperado)) << "row " << r;
    }
    for (int r : escolhidas)
        EXPECT_EQ(modelo().data(modelo().index(r, 8), Qt::DisplayRole).toString().at(1), 'r');
    EXPECT_TRUE(janela->documento().doc.arquivo().modificado());
}

TEST_F(Editor, MortoMataASelecaoComEnergia100EASalvaLevaParaMortos) {
    abrirNovo(QStringLiteral("a.gen"), 480, [](CKeldoDoc& d) {
        for (SpecX& s : AcessoDocumento::vivosEditaveis(d))
            s.energia = 61;
    });
    const std::vector<int> escolhidas{2, 9, 30};
    std::vector<int32_t> ids;
    for (int r : escolhidas) {
        ASSERT_TRUE(linha(r).vivo());
        ids.push_back(linha(r).id);
    }
    selecionar(escolhidas);
    clicarBotao(1069);
    for (int r : escolhidas) {
        EXPECT_FALSE(linha(r).vivo());
        EXPECT_EQ(linha(r).energia, 100);
        EXPECT_EQ(linha(r).loopMorto, -1);
    }
    EXPECT_EQ(linha(3).energia, 61);

    nomeSalvar = pasta.filePath(QStringLiteral("b.gen"));
    ASSERT_TRUE(janela->salvarComo());
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(nomeSalvar.toStdString()).ok);
    for (int32_t id : ids) {
        EXPECT_TRUE(std::none_of(lido.vivos().begin(), lido.vivos().end(),
                                 [&](const SpecX& s) { return s.id == id; }));
        EXPECT_EQ(std::count_if(lido.mortos().begin(), lido.mortos().end(),
                                [&](const SpecX& s) { return s.id == id && s.energia == 100; }),
                  1);
    }
}

TEST_F(Editor, FemeaDaACadaLinhaSelecionadaOSegundoAleloXQueOFormMostra) {
    abrirNovo();
    // Rows with the second-sex-chromosome bit clear, then a male with C shown last.
    std::vector<int> escolhidas;
    bool temMacho = false, temFemea = false;
    for (int r = 0; r < linhas() && escolhidas.size() < 4; ++r) {
        const SpecX& s = linha(r);
        if (!s.detecXCuidaYBit() && ((s.sexo() && !temMacho) || (!s.sexo() && !temFemea))) {
            (s.sexo() ? temMacho : temFemea) = true;
            escolhidas.push_back(r);
        }
    }
    for (int r = 100; r < linhas(); ++r)
        if (linha(r).sexo() && linha(r).detecXCuidaYBit()) {
            escolhidas.push_back(r);
            break;
        }
    ASSERT_EQ(escolhidas.size(), 3u);
    selecionar(escolhidas);
    EXPECT_TRUE(view()->botao(1039)->isChecked()); // C shown
    EXPECT_FALSE(view()->botao(1037)->isEnabled());

    clicarBotao(1031);
    for (int r : escolhidas) {
        EXPECT_EQ(linha(r).sexo(), 0) << r;
        EXPECT_EQ(linha(r).detecXCuidaYBit(), 1) << r;
    }
    for (int c : {1083, 1086, 1037, 1038})
        EXPECT_TRUE(view()->controle(c)->isEnabled()) << c;
    for (int c : {1084, 1087, 1039, 1040})
        EXPECT_FALSE(view()->controle(c)->isEnabled()) << c;
}

TEST_F(Editor, ClonarTresDaIdsAposOMaiorForaDosObstaculosESelecionaOUltimo) {
    abrirNovo(QStringLiteral("a.gen"), 480,
              [](CKeldoDoc& d) { AcessoDocumento::definirProximoId(d, 7); });
    const int n = linhas();
    ASSERT_EQ(modelo().maiorIdLinhas(), 480);
    clicarLinha(5, Qt::NoModifier);
    const std::string form = TextoLinha::textoForm(view()->lerForm());
    view()->campoQtde()->setText(QStringLiteral("3"));
    QTest::mouseClick(view()->botaoClonar(), Qt::LeftButton);

    ASSERT_EQ(linhas(), n + 3);
    EXPECT_EQ(view()->contador()->text(), QString::number(n + 3));
    const CKeldoDoc& d = janela->documento().doc;
    for (int k = 0; k < 3; ++k) {
        const SpecX& c = linha(n + k);
        EXPECT_EQ(c.id, 481 + k);
        EXPECT_EQ(TextoLinha::textoDoIndividuo(c).substr(6), form);
        EXPECT_EQ(c.x, static_cast<int>(c.x));
        EXPECT_EQ(
            AcessoDocumento::pontoEmObstaculo(d, static_cast<int>(c.x), static_cast<int>(c.y)),
            nullptr);
        EXPECT_EQ(c.loopNasc, 40);
        EXPECT_EQ(c.idPai, 0);
    }
    EXPECT_EQ(view()->linhasSelecionadas(), std::vector<int>{n + 2});
    EXPECT_EQ(view()->campoId()->text(), "483");
    EXPECT_TRUE(d.arquivo().modificado());
}

// Ids are the file's signed numbers: a damaged or hand-edited project with
// negative ids still gives clones ids above every row's.
TEST_F(Editor, ClonesDeProjetoComIdsNegativosNaoRepetemIds) {
    abrirNovo(QStringLiteral("a.gen"), 20, [](CKeldoDoc& d) {
        AcessoDocumento::vivosEditaveis(d)[0].id = -1;
        AcessoDocumento::vivosEditaveis(d)[1].id = 0;
        AcessoDocumento::vivosEditaveis(d)[2].id = INT32_MIN;
        AcessoDocumento::definirProximoId(d, -5);
    });
    const int n = linhas();
    std::set<int32_t> ids;
    for (int r = 0; r < n; ++r)
        ids.insert(linha(r).id);
    clicarLinha(3, Qt::NoModifier);
    view()->campoQtde()->setText(QStringLiteral("3"));
    view()->botaoClonar()->click();
    ASSERT_EQ(linhas(), n + 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(linha(n + k).id, 21 + k);
        EXPECT_TRUE(ids.insert(linha(n + k).id).second) << linha(n + k).id;
    }
}

// At the largest id there is none left: the clone is refused with a message,
// and a request for more clones than ids left makes none.
TEST_F(Editor, ClonesSemIdLivreSaoRecusadosComMensagem) {
    const QString caminho = abrirNovo(QStringLiteral("a.gen"), 20, [](CKeldoDoc& d) {
        AcessoDocumento::vivosEditaveis(d)[4].id = INT32_MAX - 1;
    });
    const int n = linhas();
    clicarLinha(2, Qt::NoModifier);
    view()->campoQtde()->setText(QStringLiteral("2"));
    EXPECT_EQ(
        responderMensagem([&] { view()->botaoClonar()->click(); }),
        QStringLiteral("Restam só 1 id(s) livre(s) para clones: escolha uma quantidade menor!"));
    EXPECT_EQ(linhas(), n);
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());

    view()->campoQtde()->setText(QStringLiteral("1"));
    view()->botaoClonar()->click();
    ASSERT_EQ(linhas(), n + 1);
    EXPECT_EQ(linha(n).id, INT32_MAX);
    EXPECT_EQ(responderMensagem([&] { view()->botaoClonar()->click(); }),
              QStringLiteral("Não há mais ids livres para clones: o maior id do projeto já é "
                             "2147483647!"));
    EXPECT_EQ(linhas(), n + 1);

    // Saved, the project's next id stays at the largest one rather than wrap.
    ASSERT_TRUE(janela->salvar());
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(QFile::encodeName(caminho).toStdString()).ok);
    EXPECT_EQ(lido.proximoId(), INT32_MAX);
}

TEST_F(Editor, QtdeForaDeUmADezMilERecusada) {
    abrirNovo();
    const int n = linhas();
    const std::pair<const char*, const char*> casos[] = {
        {"0", "Please enter an integer between 1 and 10000."},
        {"10001", "Please enter an integer between 1 and 10000."},
        {"-2", "Please enter a positive integer."},
    };
    for (auto [texto, mensagem] : casos) {
        view()->campoQtde()->setText(QString::fromLatin1(texto));
        EXPECT_EQ(responderMensagem([&] { view()->botaoClonar()->click(); }),
                  QString::fromLatin1(mensagem));
        EXPECT_EQ(linhas(), n);
    }
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());
}

TEST_F(Editor, OrdenarPorVidaPoeOsMortosPrimeiroEIdOrdenaPorNumero) {
    abrirNovo();
    const int mortos = static_cast<int>(janela->documento().doc.mortos().size());
    clicarCabecalho(2);
    EXPECT_EQ(modelo().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Vida^");
    for (int r = 0; r < linhas(); ++r)
        EXPECT_EQ(linha(r).vivo(), r >= mortos ? 1 : 0) << r;

    clicarCabecalho(0);
    EXPECT_EQ(modelo().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Id^");
    EXPECT_EQ(modelo().headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Vida");
    for (int r = 0; r < linhas(); ++r)
        EXPECT_EQ(linha(r).id, r + 1); // 9 before 10, 99 before 100
    EXPECT_EQ(view()->linhasSelecionadas(), std::vector<int>{linhas() - 1});
    EXPECT_EQ(view()->campoId()->text(), "480");
}

TEST_F(Editor, ExcluirRemoveTresLinhasNaoAdjacentesESelecionaASeguinte) {
    abrirNovo();
    const int n = linhas();
    const std::vector<SpecX> antes = modelo().individuos();
    selecionar({3, 10, 20});
    QTest::keyClick(lista(), Qt::Key_Delete);
    ASSERT_EQ(linhas(), n - 3);
    EXPECT_EQ(view()->contador()->text(), QString::number(n - 3));
    std::vector<SpecX> esperado = antes;
    for (int r : {20, 10, 3})
        esperado.erase(esperado.begin() + r);
    for (int r = 0; r < linhas(); ++r)
        EXPECT_EQ(linha(r).id, esperado[static_cast<size_t>(r)].id);
    EXPECT_EQ(view()->linhasSelecionadas(), std::vector<int>{18});
    EXPECT_EQ(linha(18).id, antes[21].id);
    EXPECT_EQ(view()->campoId()->text(), QString::number(antes[21].id));
}

TEST_F(Editor, AleloMinusculoNoFormZeraOsBits9a15DaPalavraEOutrasEdicoesOsMantem) {
    abrirNovo(QStringLiteral("a.gen"), 480, [](CKeldoDoc& d) {
        AcessoDocumento::vivosEditaveis(d)[0].genotipoP = 0xFE3F;
        AcessoDocumento::vivosEditaveis(d)[0].genotipoM = 0xFE00;
    });
    selecionar({0});
    ASSERT_EQ(view()->linhasSelecionadas(), std::vector<int>{0});
    clicarBotao(1069); // Morto
    clicarBotao(1051); // R on the right word
    EXPECT_EQ(linha(0).genotipoP, 0xFE3F);
    EXPECT_EQ(linha(0).genotipoM, 0xFE40);
    clicarBotao(1054); // p on the left word
    EXPECT_EQ(linha(0).genotipoP, 0x001F);
    EXPECT_EQ(linha(0).genotipoM, 0xFE40);
    EXPECT_EQ(modelo().data(modelo().index(0, 9), Qt::DisplayRole).toString(), "pp");
}
