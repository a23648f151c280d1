// The main window of the simulator: start-up, run loop, closing, files.
#include "AcessoDocumento.h"
#include "LacoEventos.h"
#include "RespostaModal.h"
#include "app/CKeldoView.h"
#include "app/CMainFrame.h"
#include "app/CParametersDlg.h"
#include "app/CPopulationDlg.h"
#include "gui/CAboutDlg.h"
#include "gui/IconePrograma.h"
#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace keldo::gui;
using namespace keldo::model;
using namespace keldo::sim;
using namespace keldo::app;

namespace {

// A window with the default world, made from a fixed seed, shown offscreen.
struct Janela {
    CMainFrame frame;
    Janela(bool mostrar = true) {
        frame.documento().definirSementeFixa(12345u);
        EXPECT_TRUE(frame.iniciarDocumento(QString()));
        if (mostrar) {
            frame.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame));
        }
    }
    ~Janela() { frame.documento().arquivo().marcarSalvo(); }
    QAction* acao(const char* nome) { return frame.findChild<QAction*>(QLatin1String(nome)); }
    CKeldoDoc& doc() { return frame.documento(); }
};

void esperarTempo(const CKeldoDoc& doc, int tempo) {
    esperarAte([&doc, tempo] { return doc.tempo() >= tempo; });
}

void esperarResposta(const RespostaModal& resposta) {
    esperarAte([&resposta] { return resposta.vista; });
}

// Counts the events of one type that reach the objects it watches.
class ContadorEventos : public QObject {
  public:
    explicit ContadorEventos(QEvent::Type t) : tipo(t) {}
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == tipo)
            ++n;
        return QObject::eventFilter(objeto, evento);
    }
    int n = 0;

  private:
    QEvent::Type tipo;
};

int timersAtivos(const CMainFrame& frame) {
    int n = 0;
    for (const QTimer* t : frame.findChildren<QTimer*>())
        n += t->isActive() ? 1 : 0;
    return n;
}

// Clicks OK on every message box that comes and keeps their captions and texts.
std::unique_ptr<RespostaModal> okEmTodas(QStringList* titulos, QStringList* textos) {
    return std::make_unique<RespostaModal>(
        [titulos, textos](QWidget* janela) {
            auto* caixa = qobject_cast<QMessageBox*>(janela);
            if (!caixa) {
                janela->close();
                return;
            }
            *titulos << caixa->windowTitle();
            *textos << caixa->text();
            caixa->button(QMessageBox::Ok)->click();
        },
        true);
}

} // namespace

TEST(JanelaPrincipal, InicioMostraTituloContadoresMenusEAtalhos) {
    Janela j;
    rodar(20); // idle passes write the counters
    EXPECT_EQ(j.frame.windowTitle(), QStringLiteral("KELDO: Untitled"));
    EXPECT_EQ(j.frame.textoStatus(),
              QStringLiteral("Tempo: 0, Vivos: 100, Mortos: 0, Ovos: 0, Geração: 0"));
    EXPECT_EQ(j.frame.vista()->size(), QSize(640, 480));
    EXPECT_EQ(j.frame.minimumSize(), j.frame.maximumSize());

    QStringList menus;
    for (QAction* a : j.frame.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("&Simulação"), QStringLiteral("&Configuração"),
                                  QStringLiteral("&Exibir"), QStringLiteral("&Ajuda")}));
    const struct {
        const char* nome;
        QString texto;
        QString atalho;
        QString dica;
    } esperadas[] = {
        {"acaoIniciar", QStringLiteral("&Iniciar\tCtrl+I"), QStringLiteral("Ctrl+I"),
         QStringLiteral("Inicia a simulação")},
        {"acaoParar", QStringLiteral("&Parar\tCtrl+P"), QStringLiteral("Ctrl+P"),
         QStringLiteral("Para a simulação em andamento")},
        {"acaoNovo", QStringLiteral("&Novo\tCtrl+N"), QStringLiteral("Ctrl+N"),
         QStringLiteral("Cria um novo projeto de simulação")},
        // The menu promises Ctrl+A, and Ctrl+A opens.
        {"acaoAbrir", QStringLiteral("&Abrir...\tCtrl+A"), QStringLiteral("Ctrl+A"),
         QStringLiteral("Abre um projeto de simulação existente")},
        {"acaoSalvar", QStringLiteral("&Salvar\tCtrl+S"), QStringLiteral("Ctrl+S"),
         QStringLiteral("Salva o projeto de simulação atual e a tabela")},
        {"acaoSalvarComo", QStringLiteral("Salvar &Como..."), QString(),
         QStringLiteral("Salva o projeto atual com outro nome")},
        {"acaoRecentes", QStringLiteral("Simulações recentes"), QString(),
         QStringLiteral("Abre este projeto")},
        {"acaoSair", QStringLiteral("Sai&r"), QString(),
         QStringLiteral("Sai da aplicação pedindo para salvar o documento atual")},
        {"acaoParametros", QStringLiteral("&Parâmetros..."), QString(),
         QStringLiteral("Abre a caixa de parâmetros da simulação")},
        {"acaoAjuda", QStringLiteral("Keldo HP... "), QString(),
         QStringLiteral("Apresenta as informações de utilização do KELDO")},
        {"acaoSobre", QStringLiteral("&Sobre..."), QString(),
         QStringLiteral("Abre a caixa de diálogo sobre o KELDO")},
    };
    for (const auto& e : esperadas) {
        QAction* a = j.acao(e.nome);
        ASSERT_NE(a, nullptr) << e.nome;
        EXPECT_EQ(a->text(), e.texto) << e.nome;
        EXPECT_EQ(a->shortcut().toString(), e.atalho) << e.nome;
        EXPECT_EQ(a->statusTip(), e.dica) << e.nome;
    }

    // A keyboard accelerator reaches its command.
    QTest::keyClick(&j.frame, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
    EXPECT_TRUE(j.frame.timerAtivo());
    QTest::keyClick(&j.frame, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::parado);
    EXPECT_FALSE(j.frame.timerAtivo());
}

TEST(JanelaPrincipal, IniciarDuasVezesDaUmTimerNoEstadoUm) {
    Janela j;
    j.acao("acaoIniciar")->trigger();
    j.acao("acaoIniciar")->trigger();
    EXPECT_TRUE(j.frame.timerAtivo());
    EXPECT_EQ(j.frame.intervaloTimerAtual(), 5);
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
    EXPECT_TRUE(j.doc().arquivo().modificado());
    EXPECT_EQ(timersAtivos(j.frame), 1);
}

TEST(JanelaPrincipal, ExecucaoAvancaTempoPararCongelaEIniciarRetoma) {
    Janela j;
    j.acao("acaoIniciar")->trigger();
    esperarTempo(j.doc(), 5);
    EXPECT_GE(j.doc().tempo(), 5);
    j.acao("acaoParar")->trigger();
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::parado);
    EXPECT_FALSE(j.frame.timerAtivo());
    const int parado = j.doc().tempo();
    rodar(50);
    EXPECT_EQ(j.doc().tempo(), parado);
    EXPECT_TRUE(j.frame.textoStatus().startsWith(QStringLiteral("Tempo: %1,").arg(parado)));

    j.acao("acaoIniciar")->trigger();
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
    esperarTempo(j.doc(), parado + 5);
    EXPECT_GE(j.doc().tempo(), parado + 5);
}

TEST(JanelaPrincipal, FecharDuranteExecucaoECancelarDeixaProgramaAbertoSemTimer) {
    Janela j;
    j.acao("acaoIniciar")->trigger();
    QString pergunta;
    auto resposta = RespostaModal::botao(QMessageBox::Cancel, &pergunta);
    EXPECT_FALSE(j.frame.close());
    EXPECT_TRUE(resposta->vista);
    EXPECT_EQ(pergunta, QStringLiteral("Save changes to Untitled?"));
    EXPECT_TRUE(j.frame.isVisible());
    EXPECT_FALSE(j.frame.timerAtivo());
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
    const int tempo = j.doc().tempo();
    rodar(30);
    EXPECT_EQ(j.doc().tempo(), tempo);

    j.acao("acaoIniciar")->trigger();
    EXPECT_TRUE(j.frame.timerAtivo());
    resposta = RespostaModal::botao(QMessageBox::No, nullptr);
    EXPECT_TRUE(j.frame.close());
    EXPECT_FALSE(j.frame.timerAtivo());
}

TEST(JanelaPrincipal, ParametrosParaOTimerERetomaSoEmExecucao) {
    Janela j;
    j.acao("acaoIniciar")->trigger();
    auto resposta = RespostaModal::aceitar();
    j.acao("acaoParametros")->trigger();
    EXPECT_TRUE(j.frame.timerAtivo());

    j.acao("acaoParar")->trigger();
    resposta = RespostaModal::aceitar();
    j.acao("acaoParametros")->trigger();
    EXPECT_FALSE(j.frame.timerAtivo());
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::parado);
}

// The timer goes on through "Novo": the new world is a run like the old one,
// so closing asks, and the parameters dialog gives it back its timer.
TEST(JanelaPrincipal, NovoDuranteExecucaoSegueComONovoMundoEmExecucao) {
    Janela j;
    j.acao("acaoIniciar")->trigger();
    esperarTempo(j.doc(), 3);
    auto resposta = RespostaModal::botao(QMessageBox::No, nullptr);
    QTest::keyClick(&j.frame, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(resposta->vista);
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
    EXPECT_TRUE(j.doc().arquivo().modificado());
    EXPECT_TRUE(j.frame.timerAtivo());
    EXPECT_LT(j.doc().tempo(), 3);
    esperarTempo(j.doc(), 3);
    EXPECT_GE(j.doc().tempo(), 3);

    auto cancelar = std::make_unique<RespostaModal>([](QWidget* janela) {
        if (auto* dialogo = qobject_cast<QDialog*>(janela))
            dialogo->reject();
    });
    j.acao("acaoParametros")->trigger();
    EXPECT_TRUE(cancelar->vista);
    EXPECT_TRUE(j.frame.timerAtivo());

    QString pergunta;
    resposta = RespostaModal::botao(QMessageBox::Cancel, &pergunta);
    EXPECT_FALSE(j.frame.close());
    EXPECT_EQ(pergunta, QStringLiteral("Save changes to Untitled?"));
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::executando);
}

// A periodic save of the world "Novo" made during a run asks for its name and
// then lets the run go on, save after save.
TEST(JanelaPrincipal, SalvamentoPeriodicoDoMundoNovoDuranteExecucaoRetomaOTimer) {
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("novo.gen"));
    Janela j;
    int nomesPedidos = 0;
    j.frame.dialogos.salvarComo = [&](const QString&) {
        ++nomesPedidos;
        return caminho;
    };
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarCiclos = 5;
    j.doc().arquivo().definirCaminho(
        QFile::encodeName(pasta.filePath(QStringLiteral("velho.gen"))).toStdString());
    j.acao("acaoIniciar")->trigger();
    esperarTempo(j.doc(), 2);
    j.frame.dialogos.perguntarSalvar = [](const QString&) { return QMessageBox::No; };
    j.acao("acaoNovo")->trigger();
    ASSERT_LT(j.doc().tempo(), 5);
    EXPECT_TRUE(esperarAte([&] { return j.doc().tempo() >= 12 || !j.frame.timerAtivo(); }));
    EXPECT_GE(j.doc().tempo(), 12);
    EXPECT_TRUE(j.frame.timerAtivo());
    EXPECT_EQ(nomesPedidos, 1); // then saved under that name
    EXPECT_GE(j.doc().numSnapshot(), 2);
    EXPECT_TRUE(QFile::exists(caminho));
    EXPECT_TRUE(j.doc().arquivo().modificado());
}

// Only a confirmed change to what the project file holds makes closing ask:
// a parameter, or a defined population confirmed in its own dialog (which
// stays in the record whatever the parameters dialog ends with).
TEST(JanelaPrincipal, ParametrosConfirmadosMarcamOProjetoModificado) {
    Janela j;
    auto abrirParametros = [&j](const std::function<void(QDialog*)>& acao) {
        auto resposta = std::make_unique<RespostaModal>([&acao](QWidget* janela) {
            if (auto* dialogo = qobject_cast<QDialog*>(janela))
                acao(dialogo);
        });
        j.acao("acaoParametros")->trigger();
        EXPECT_TRUE(resposta->vista);
    };
    auto editar = [](QDialog* d, const char* campo, const QString& texto) {
        d->findChild<QLineEdit*>(QLatin1String(campo))->setText(texto);
    };

    abrirParametros([&](QDialog* d) {
        editar(d, "editNumIndividuos", QStringLiteral("77"));
        d->reject();
    });
    EXPECT_FALSE(j.doc().arquivo().modificado());
    EXPECT_EQ(j.doc().parametros().numIndividuos, 100);
    abrirParametros([](QDialog* d) { d->accept(); });
    EXPECT_FALSE(j.doc().arquivo().modificado());

    abrirParametros([&](QDialog* d) {
        editar(d, "editNumIndividuos", QStringLiteral("77"));
        d->accept();
    });
    EXPECT_EQ(j.doc().parametros().numIndividuos, 77);
    EXPECT_TRUE(j.doc().arquivo().modificado());
    QString pergunta;
    auto resposta = RespostaModal::botao(QMessageBox::Cancel, &pergunta);
    EXPECT_FALSE(j.frame.close());
    EXPECT_EQ(pergunta, QStringLiteral("Save changes to Untitled?"));
}

TEST(JanelaPrincipal, PopulacaoDefinidaConfirmadaMarcaOProjetoModificado) {
    Janela j;
    // Two individuals added in "Definição de População Inicial", then Cancel
    // in the parameters dialog.
    int passo = 0;
    auto respostas = std::make_unique<RespostaModal>(
        [&passo](QWidget* janela) {
            if (passo == 0 && qobject_cast<CParametersDlg*>(janela)) {
                passo = 1;
                auto* botao = janela->findChild<QPushButton*>(QStringLiteral("botaoPopulacao"));
                QTimer::singleShot(0, botao, &QPushButton::click);
            } else if (passo == 1 && qobject_cast<CPopulationDlg*>(janela)) {
                passo = 2;
                janela->findChild<QLineEdit*>(QStringLiteral("editQtde"))
                    ->setText(QStringLiteral("2"));
                janela->findChild<QPushButton*>(QStringLiteral("botaoAdicionar"))->click();
                static_cast<QDialog*>(janela)->accept();
            } else if (passo == 2 && qobject_cast<CParametersDlg*>(janela)) {
                passo = 3;
                static_cast<QDialog*>(janela)->reject();
            }
        },
        true);
    const auto estadoAntes = j.doc().gerador().estadoAtual();
    j.acao("acaoParametros")->trigger();
    EXPECT_EQ(passo, 3);
    EXPECT_EQ(j.doc().parametros().listaDefinida.size(), 2u);
    EXPECT_TRUE(j.doc().arquivo().modificado());
    // The founders were drawn from the document's world, handed to the dialogs.
    EXPECT_NE(j.doc().gerador().estadoAtual(), estadoAntes);
}

TEST(JanelaPrincipal, SalvarAbrirESalvamentoPeriodicoComTimer) {
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("aula.gen"));
    Janela j;
    j.doc().arquivo().definirCaminho(QFile::encodeName(caminho).toStdString());
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarCiclos = 50;
    j.acao("acaoIniciar")->trigger();
    esperarTempo(j.doc(), 52);
    // The periodic save stopped the timer around itself and restarted it.
    EXPECT_TRUE(j.frame.timerAtivo());
    EXPECT_GE(j.doc().numSnapshot(), 1);
    EXPECT_TRUE(QFile::exists(caminho));
    j.acao("acaoParar")->trigger();
    j.doc().arquivo().marcarSalvo();

    // A new world, then the saved project again: its world and its name.
    j.acao("acaoNovo")->trigger();
    EXPECT_EQ(j.doc().tempo(), 0);
    EXPECT_TRUE(j.frame.abrirArquivo(caminho));
    EXPECT_EQ(j.doc().tempo(), 50);
    EXPECT_EQ(j.frame.windowTitle(), QStringLiteral("KELDO: aula.gen"));
    EXPECT_FALSE(j.doc().arquivo().modificado());
    EXPECT_EQ(j.frame.findChild<QAction*>(QStringLiteral("acaoRecentes"))->isVisible(), false);
}

// A project file without any write permission is one the save would refuse,
// even to root: "Salvar" asks for a name instead.
TEST(JanelaPrincipal, SalvarArquivoSomenteLeituraPedeNome) {
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("aula.gen"));
    const QString outro = pasta.filePath(QStringLiteral("outra.gen"));
    Janela j;
    j.doc().arquivo().definirCaminho(QFile::encodeName(caminho).toStdString());
    ASSERT_TRUE(j.frame.salvar());
    ASSERT_TRUE(
        QFile::setPermissions(caminho, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    j.doc().arquivo().marcarModificado();
    QStringList propostas;
    j.frame.dialogos.salvarComo = [&](const QString& proposta) {
        propostas << proposta;
        return outro;
    };
    QStringList avisos;
    j.frame.dialogos.avisar = [&](const QString& texto) { avisos << texto; };
    EXPECT_TRUE(j.frame.salvar());
    EXPECT_EQ(propostas, QStringList{caminho});
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(outro));
    EXPECT_EQ(j.frame.windowTitle(), QStringLiteral("KELDO: outra.gen"));
}

// What the run loop does, whatever the machine's speed (bench/ measures the
// rate): one 5 ms timer, one cycle per tick, one paint of the arena per
// redraw the cycle asks for.
TEST(JanelaPrincipal, LacoDeUmTimerUmCicloPorTiqueEUmaPinturaPorRedesenho) {
    Janela j;
    AcessoDocumento::parametrosEditaveis(j.doc()).intervaloAnimacao = 3;
    rodar(20); // the first paint
    auto* timer = j.frame.findChild<QTimer*>(QStringLiteral("timerExecucao"));
    ASSERT_NE(timer, nullptr);
    ContadorEventos tiques(QEvent::Timer), pinturas(QEvent::Paint);
    timer->installEventFilter(&tiques);
    j.frame.vista()->installEventFilter(&pinturas);

    j.acao("acaoIniciar")->trigger();
    EXPECT_EQ(timer->interval(), 5);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(timer->isSingleShot());
    esperarTempo(j.doc(), 30);
    j.acao("acaoParar")->trigger();
    rodar(20); // the last redraw's paint
    EXPECT_GE(j.doc().tempo(), 30);
    EXPECT_EQ(tiques.n, j.doc().tempo());
    EXPECT_EQ(pinturas.n, j.doc().tempo() / 3);
}

// Saved during a run, the project stays modified: after "Parar", "Sair",
// "Novo" and "Abrir" still ask, and "Yes" writes the cycles run since.
TEST(JanelaPrincipal, SalvarDuranteExecucaoAindaPerguntaAoSairNovoEAbrir) {
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("aula.gen"));
    Janela j;
    QTest::keyClick(&j.frame, Qt::Key_I, Qt::ControlModifier);
    esperarTempo(j.doc(), 3);
    auto nome = std::make_unique<RespostaModal>([&caminho](QWidget* janela) {
        auto* dialogo = qobject_cast<QFileDialog*>(janela);
        if (!dialogo) {
            janela->close();
            return;
        }
        dialogo->selectFile(caminho);
        static_cast<QDialog*>(dialogo)->accept(); // QFileDialog's own is protected
    });
    QTest::keyClick(&j.frame, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(nome->vista);
    ASSERT_TRUE(QFile::exists(caminho));
    EXPECT_EQ(j.frame.windowTitle(), QStringLiteral("KELDO: aula.gen"));
    const int salvo = j.doc().tempo();
    esperarTempo(j.doc(), salvo + 3);
    QTest::keyClick(&j.frame, Qt::Key_P, Qt::ControlModifier);
    const int parado = j.doc().tempo();
    ASSERT_GT(parado, salvo);

    const QString pergunta =
        QStringLiteral("Save changes to %1?").arg(QDir::toNativeSeparators(caminho));
    for (const QString& comando :
         {QStringLiteral("Sair"), QStringLiteral("Novo"), QStringLiteral("Abrir")}) {
        QString texto;
        auto resposta = RespostaModal::botao(QMessageBox::Cancel, &texto);
        if (comando == QStringLiteral("Sair"))
            j.acao("acaoSair")->trigger();
        else if (comando == QStringLiteral("Novo"))
            j.acao("acaoNovo")->trigger();
        else
            EXPECT_FALSE(j.frame.abrirArquivo(pasta.filePath(QStringLiteral("outro.gen"))));
        EXPECT_TRUE(resposta->vista) << comando.toStdString();
        EXPECT_EQ(texto, pergunta) << comando.toStdString();
        EXPECT_EQ(j.doc().tempo(), parado) << comando.toStdString();
    }
    EXPECT_TRUE(j.frame.isVisible());

    auto resposta = RespostaModal::botao(QMessageBox::Yes, nullptr);
    EXPECT_TRUE(j.frame.close());
    CKeldoDoc lido;
    ASSERT_TRUE(lido.carregarProjeto(QFile::encodeName(caminho).toStdString()).ok);
    EXPECT_EQ(lido.tempo(), parado);
}

// A world past the size limit (made by hand: no cycle makes one): the run
// stops before the next cycle with the message, and the world stays as it
// was; a save is refused with its reason, since no program would open it.
TEST(JanelaPrincipal, MundoAlemDoLimiteParaComAvisoEPodeSerSalvo) {
    QTemporaryDir pasta;
    Janela j;
    CKeldoDoc& doc = j.doc();
    while (doc.vivos().size() + doc.alimentos().size() <= CKeldoDoc::limiteMundo)
        AcessoDocumento::alimentosEditaveis(doc).emplace_back(0, &doc);
    const size_t alimentos = doc.alimentos().size();
    QStringList titulos, textos;
    auto respostas = okEmTodas(&titulos, &textos);
    j.acao("acaoIniciar")->trigger();
    esperarResposta(*respostas);
    rodar(50);
    EXPECT_EQ(titulos, QStringList{QStringLiteral("Atenção")});
    EXPECT_EQ(textos, QStringList{QStringLiteral("O mundo atingiu o limite de 300000 indivíduos e "
                                                 "alimentos; a simulação foi parada.")});
    EXPECT_FALSE(j.frame.timerAtivo());
    EXPECT_EQ(AcessoDocumento::estadoExecucao(doc), EstadoExecucao::parado);
    EXPECT_EQ(doc.tempo(), 0);

    const QString caminho = pasta.filePath(QStringLiteral("cheio.gen"));
    doc.arquivo().definirCaminho(QFile::encodeName(caminho).toStdString());
    EXPECT_FALSE(j.frame.salvar());
    ASSERT_EQ(textos.size(), 2);
    EXPECT_EQ(textos[1], QStringLiteral("Failed to save document.\n%1 would hold more than 300000 "
                                        "individuals and food items, the limit of a world, and "
                                        "could not be opened again.")
                             .arg(QFileInfo(caminho).absoluteFilePath()));
    EXPECT_FALSE(QFile::exists(caminho));
    EXPECT_EQ(doc.alimentos().size(), alimentos);
}

// A periodic save that fails shows its message once and leaves the run
// stopped as "Parar" does, so that the user can act before the next one.
TEST(JanelaPrincipal, SalvamentoPeriodicoFalhoParaAExecucao) {
    QTemporaryDir pasta;
    Janela j;
    j.doc().arquivo().definirCaminho(
        QFile::encodeName(pasta.filePath(QStringLiteral("falta/aula.gen"))).toStdString());
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarAtivo = 1;
    AcessoDocumento::parametrosEditaveis(j.doc()).salvarCiclos = 3;
    QStringList titulos, textos;
    auto respostas = okEmTodas(&titulos, &textos);
    j.acao("acaoIniciar")->trigger();
    esperarResposta(*respostas);
    rodar(100);
    EXPECT_EQ(respostas->vistas, 1);
    EXPECT_FALSE(j.frame.timerAtivo());
    EXPECT_EQ(AcessoDocumento::estadoExecucao(j.doc()), EstadoExecucao::parado);
    EXPECT_EQ(j.doc().tempo(), 3);
    EXPECT_TRUE(j.doc().arquivo().modificado());
}

// The window and the About box show the program's icon; the box gives the
// project's version and the way to the manual.
TEST(JanelaPrincipal, SobreMostraIconeVersaoDoProjetoEOManual) {
    Janela j;
    ASSERT_FALSE(j.frame.windowIcon().isNull());
    EXPECT_EQ(j.frame.windowIcon().pixmap(64, 64).toImage().convertToFormat(
                  QImage::Format_ARGB32_Premultiplied),
              IconePrograma::imagem(64));
    QString versao;
    QString manual;
    QImage figura;
    auto resposta = RespostaModal(std::function<void(QWidget*)>([&](QWidget* janela) {
        versao = janela->findChild<QLabel*>(QStringLiteral("textoVersao"))->text();
        manual = janela->findChild<QLabel*>(QStringLiteral("manual"))->text();
        if (auto* sobre = qobject_cast<CAboutDlg*>(janela))
            figura = sobre->rotuloIcone()->pixmap().toImage();
        janela->close();
    }));
    j.acao("acaoSobre")->trigger();
    EXPECT_TRUE(resposta.vista);
    EXPECT_EQ(versao, QStringLiteral("1.1.106 b"));
    EXPECT_TRUE(manual.contains(QStringLiteral("Manual do KELDO"))) << manual.toStdString();
    ASSERT_FALSE(figura.isNull());
    EXPECT_EQ(figura.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              IconePrograma::imagem(32));
}
