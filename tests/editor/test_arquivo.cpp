#include "AcessoDocumento.h"
#include "EditorFixture.h"
#include "TextosArquivo.h"
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <set>

using namespace keldo::sim;

TEST_F(Editor, SalvarComOMesmoNomePerguntaAntesECancelarNaoGravaNada) {
    const QString a = abrirNovo();
    clicarLinha(4, Qt::NoModifier);
    clicarBotao(Genoma::alelo(Genoma::Reproducao, linha(4).genotipoP)
                    ? 1044
                    : 1043); // the other Reprodução allele
    const QByteArray antes = Projetos::ler(a);

    respostaConfirmar = false;
    EXPECT_FALSE(janela->salvar());
    ASSERT_EQ(confirmacoes.size(), 1);
    EXPECT_EQ(confirmacoes[0], QStringLiteral("Salvar com o nome de arquivo anterior?\n") +
                                   QDir::toNativeSeparators(a));
    EXPECT_EQ(Projetos::ler(a), antes);
    EXPECT_TRUE(janela->documento().doc.arquivo().modificado());

    // A name that differs only in letter case asks too; Cancel creates nothing.
    nomeSalvar = QFileInfo(a).absolutePath() + QStringLiteral("/A.GEN");
    EXPECT_FALSE(janela->salvarComo());
    EXPECT_EQ(confirmacoes.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(nomeSalvar));
    EXPECT_FALSE(QFileInfo::exists(a + QStringLiteral(".tmp~")));

    respostaConfirmar = true;
    EXPECT_TRUE(janela->salvar());
    EXPECT_NE(Projetos::ler(a), antes);
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());
}

TEST_F(Editor, PerguntaDoMesmoNomeEAvisoOkCancelar) {
    const QString a = abrirNovo();
    janela->dialogos.confirmar = padrao.confirmar;
    const QByteArray antes = Projetos::ler(a);
    bool salvo = true;
    const QString texto = responderMensagem([&] { salvo = janela->salvar(); }, QMessageBox::Cancel);
    EXPECT_TRUE(texto.startsWith(QStringLiteral("Salvar com o nome de arquivo anterior?")));
    EXPECT_FALSE(salvo);
    EXPECT_EQ(Projetos::ler(a), antes);
}

TEST_F(Editor, IdaEVoltaMudaSoGeracoesEAGeracaoDoCabecalho) {
    // Distinctive generations on some individuals and a nonzero document generation.
    const uint32_t marca = 0x7E3C1A55;
    int marcados = 0;
    const QString a = Projetos::criar(pasta, QStringLiteral("a.gen"), 480, [&](CKeldoDoc& d) {
        AcessoDocumento::definirGeracao(d, 9);
        for (auto* lista :
             {&AcessoDocumento::vivosEditaveis(d), &AcessoDocumento::mortosEditaveis(d)})
            for (size_t i = 0; i < lista->size(); i += 5, ++marcados)
                (*lista)[i].geracao = marca;
    });
    ASSERT_TRUE(janela->abrirArquivo(a));
    nomeSalvar = pasta.filePath(QStringLiteral("b.gen"));
    ASSERT_TRUE(janela->salvarComo());
    EXPECT_TRUE(confirmacoes.isEmpty());
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Keldo GE - Editor de Genótipos: b.gen"));

    QByteArray esperado = Projetos::ler(a);
    const QByteArray padraoMarca("\x55\x1A\x3C\x7E", 4);
    EXPECT_EQ(esperado.count(padraoMarca), marcados);
    esperado.replace(padraoMarca, QByteArray(4, '\0'));
    for (int k = 12; k < 16; ++k)
        esperado[k] = 0; // geracao of the header
    EXPECT_EQ(Projetos::ler(nomeSalvar), esperado);
}

TEST_F(Editor, ProjetoSalvoSobeProximoIdEContinuaNoSimulador) {
    abrirNovo(QStringLiteral("a.gen"), 300,
              [](CKeldoDoc& d) { AcessoDocumento::definirProximoId(d, 12); });
    // Eggs, deletions and clones.
    selecionar({0, 1, 2});
    clicarBotao(1032);
    selecionar({50, 60});
    QTest::keyClick(lista(), Qt::Key_Delete);
    view()->campoQtde()->setText(QStringLiteral("4"));
    view()->botaoClonar()->click();
    const int n = linhas();
    int ovosEsperados = 0, vivosEsperados = 0;
    for (const SpecX& s : modelo().individuos()) {
        vivosEsperados += s.vivo();
        ovosEsperados += s.vivo() && !s.adulto();
    }
    nomeSalvar = pasta.filePath(QStringLiteral("b.gen"));
    ASSERT_TRUE(janela->salvarComo());

    CKeldoDoc sim;
    sim.definirIgnorarTempoReal(true);
    ASSERT_TRUE(sim.carregarProjeto(nomeSalvar.toStdString()).ok);
    EXPECT_EQ(sim.proximoId(), 305); // clones 301..304
    EXPECT_EQ(int(sim.vivos().size()), vivosEsperados);
    EXPECT_EQ(int(sim.vivos().size() + sim.mortos().size()), n);
    EXPECT_EQ(sim.ovos(), ovosEsperados);
    EXPECT_EQ(sim.geracao(), 0);
    for (int ciclo = 0; ciclo < 200; ++ciclo)
        sim.executarCiclo();
    EXPECT_EQ(sim.tempo(), 240);
    std::set<int32_t> ids;
    for (auto* lista : {&sim.vivos(), &sim.mortos()})
        for (const SpecX& s : *lista)
            EXPECT_TRUE(ids.insert(s.id).second) << "id repeated: " << s.id;
}

TEST_F(Editor, ArquivosSoltosAbremEmSequenciaEOUltimoFicaAberto) {
    const QString a = Projetos::criar(pasta, QStringLiteral("a.gen"), 50);
    const QString b = Projetos::criar(pasta, QStringLiteral("b.gen"), 60);
    EXPECT_TRUE(janela->acceptDrops());
    janela->abrirSoltos({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
    EXPECT_EQ(janela->documento().caminho, QFileInfo(b).absoluteFilePath());
    EXPECT_EQ(linhas(), 60);
    EXPECT_EQ(janela->recentes()->arquivos().mid(0, 2),
              QStringList({QFileInfo(b).absoluteFilePath(), QFileInfo(a).absoluteFilePath()}));
}

TEST_F(Editor, DocumentoModificadoOfereceSalvarEArquivoSumidoPedeNome) {
    const QString a = abrirNovo();
    clicarBotao(1034);
    QStringList perguntas;
    QMessageBox::StandardButton resposta = QMessageBox::Cancel;
    janela->dialogos.perguntarSalvar = [&](const QString& t) {
        perguntas << t;
        return resposta;
    };
    EXPECT_FALSE(janela->close());
    EXPECT_EQ(perguntas, QStringList{QStringLiteral("Save changes to a.gen?")});
    EXPECT_TRUE(janela->isVisible());

    // Yes with the file gone: Save behaves as Save As.
    QFile::remove(a);
    nomeSalvar = pasta.filePath(QStringLiteral("c.gen"));
    resposta = QMessageBox::Yes;
    EXPECT_TRUE(janela->close());
    EXPECT_TRUE(QFileInfo::exists(nomeSalvar));
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());
}

// A file without any write permission is one the save would refuse, even to
// root: "Salvar" asks for a name at once, as "Salvar Como" does.
TEST_F(Editor, SalvarArquivoSomenteLeituraPedeNome) {
    const QString a = abrirNovo(QStringLiteral("a.gen"), 20);
    clicarBotao(1034);
    const QByteArray antes = Projetos::ler(a);
    ASSERT_TRUE(QFile::setPermissions(a, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QStringList propostas;
    nomeSalvar = pasta.filePath(QStringLiteral("b.gen"));
    janela->dialogos.salvarComo = [&](const QString& proposta) {
        propostas << proposta;
        return nomeSalvar;
    };
    EXPECT_TRUE(janela->salvar());
    EXPECT_EQ(propostas, QStringList{a});
    EXPECT_TRUE(confirmacoes.isEmpty());
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
    EXPECT_EQ(Projetos::ler(a), antes);
    EXPECT_TRUE(QFileInfo::exists(nomeSalvar));
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Keldo GE - Editor de Genótipos: b.gen"));
    EXPECT_FALSE(janela->documento().doc.arquivo().modificado());
}

// A name typed without an extension is saved with ".gen", so that the Open
// dialog's filter shows it; a name with its own extension is kept.
TEST_F(Editor, SalvarComoAcrescentaGenAoNomeSemExtensao) {
    abrirNovo(QStringLiteral("a.gen"), 20);
    nomeSalvar = pasta.filePath(QStringLiteral("semext"));
    ASSERT_TRUE(janela->salvarComo());
    EXPECT_TRUE(QFileInfo::exists(pasta.filePath(QStringLiteral("semext.gen"))));
    EXPECT_FALSE(QFileInfo::exists(nomeSalvar));
    EXPECT_EQ(janela->documento().caminho,
              QFileInfo(pasta.filePath(QStringLiteral("semext.gen"))).absoluteFilePath());
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Keldo GE - Editor de Genótipos: semext.gen"));

    nomeSalvar = pasta.filePath(QStringLiteral("copia.bak"));
    ASSERT_TRUE(janela->salvarComo());
    EXPECT_TRUE(QFileInfo::exists(nomeSalvar));
}

// The framework's English messages, the same as the simulator's: the file
// named, and the system's reason.
TEST_F(Editor, FalhasDeAbrirESalvarDizemOArquivoEARazao) {
    abrirNovo(QStringLiteral("a.gen"), 20);
    const QString falta = pasta.filePath(QStringLiteral("falta.gen"));
    EXPECT_FALSE(janela->abrirArquivo(falta));
    nomeSalvar = pasta.filePath(QStringLiteral("nao/existe.gen"));
    EXPECT_FALSE(janela->salvarComo());
    ASSERT_EQ(avisos.size(), 2);
    EXPECT_EQ(avisos[0],
              TextosArquivo::falhaAbrir(falta, QStringLiteral("No such file or directory")));
    EXPECT_EQ(avisos[1],
              TextosArquivo::falhaSalvar(nomeSalvar, QStringLiteral("No such file or directory")));
}
