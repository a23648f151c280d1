// The manual of the help program: every page is in the contents and loads,
// every link leads to a page and a section that exist, and the commands,
// dialog fields and file columns of the programs are all described.
#include "help/CJanelaAjuda.h"
#include "sim/CKeldoDoc.h"
#include "sim/EstatisticasPopulacao.h"
#include "sim/ParametrosPorNome.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace keldo::help;
using namespace keldo::sim;

namespace {

QString pagina(const QString& arquivo) {
    QFile f(QStringLiteral(":/manual/") + arquivo);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The whole manual as plain text, with the HTML entities the pages use decoded.
QString textoDoManual() {
    static const QRegularExpression marcas(QStringLiteral("<[^>]*>"));
    QString todo;
    for (const auto& p : CJanelaAjuda::paginas())
        todo += pagina(QString::fromLatin1(p.arquivo)).remove(marcas) + QLatin1Char('\n');
    todo.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    todo.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return todo.simplified();
}

void esperarTodos(const QString& texto, const QStringList& termos) {
    for (const QString& t : termos)
        EXPECT_TRUE(texto.contains(t)) << "falta no manual: " << t.toStdString();
}

} // namespace

TEST(Manual, PaginasDoSumarioECadaLinkLevaAUmaSecaoExistente) {
    const QStringList noRecurso = QDir(QStringLiteral(":/manual")).entryList({"*.html"});
    QStringList noSumario;
    for (const auto& p : CJanelaAjuda::paginas())
        noSumario << QString::fromLatin1(p.arquivo);
    EXPECT_EQ(QStringList(noRecurso).size(), noSumario.size());
    for (const QString& arquivo : noRecurso)
        EXPECT_TRUE(noSumario.contains(arquivo)) << arquivo.toStdString();

    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    int links = 0;
    for (const QString& arquivo : noSumario) {
        const QString html = pagina(arquivo);
        ASSERT_FALSE(html.isEmpty()) << arquivo.toStdString();
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString alvo = it.next().captured(1);
            ++links;
            EXPECT_FALSE(alvo.contains(QLatin1Char(':'))) << "link externo: " << alvo.toStdString();
            const QString destino = alvo.section(QLatin1Char('#'), 0, 0);
            const QString secao = alvo.section(QLatin1Char('#'), 1);
            const QString html2 = pagina(destino.isEmpty() ? arquivo : destino);
            ASSERT_FALSE(html2.isEmpty()) << arquivo.toStdString() << " -> " << alvo.toStdString();
            if (!secao.isEmpty()) {
                EXPECT_TRUE(html2.contains(QStringLiteral("id=\"%1\"").arg(secao)))
                    << arquivo.toStdString() << " -> " << alvo.toStdString();
            }
        }
    }
    EXPECT_GT(links, 20);
}

// Every page in the style of the help window, also when read in a browser
// from the documentation folder; every picture is in the resource, so the
// help program shows it.
TEST(Manual, PaginasComEstiloEImagensNoRecurso) {
    static const QRegularExpression imagem(QStringLiteral("<img ([^>]*)>"));
    static const QRegularExpression origem(QStringLiteral("src=\"([^\"]+)\""));
    int imagens = 0;
    for (const auto& p : CJanelaAjuda::paginas()) {
        const QString arquivo = QString::fromLatin1(p.arquivo);
        const QString html = pagina(arquivo);
        const QString cabeca = html.section(QStringLiteral("</head>"), 0, 0);
        EXPECT_TRUE(
            cabeca.contains(QStringLiteral("<link rel=\"stylesheet\" href=\"estilo.css\">")))
            << "sem estilo.css: " << arquivo.toStdString();
        for (auto it = imagem.globalMatch(html); it.hasNext();) {
            const QString atributos = it.next().captured(1);
            const QString src = origem.match(atributos).captured(1);
            ++imagens;
            EXPECT_TRUE(atributos.contains(QStringLiteral("alt=\"")))
                << arquivo.toStdString() << ": " << src.toStdString();
            QImage figura(QStringLiteral(":/manual/") + src);
            EXPECT_FALSE(figura.isNull()) << arquivo.toStdString() << ": " << src.toStdString();
        }
    }
    EXPECT_GE(imagens, 5);
}

TEST(Manual, DescreveComandosCamposEColunas) {
    const QString texto = textoDoManual();
    // Every menu command of the simulator and of the editor.
    esperarTodos(texto, {"Iniciar", "Parar", "Novo", "Abrir...", "Salvar", "Salvar Como...",
                         "Simulações recentes", "Sair", "Parâmetros...", "Gráficos", "Keldo HP...",
                         "Sobre...", "Ctrl+I", "Ctrl+P", "Ctrl+N", "Ctrl+A", "Ctrl+S", "Ctrl+G"});
    esperarTodos(texto,
                 {"Semente do mundo...", "Modo de apresentação", "F11", "Esc", "GERAÇÃO PARADA"});
    // Every visible field of the four dialogs.
    esperarTodos(texto, {"Aleatória",
                         "Definida",
                         "com Definida",
                         "Quantidade Inicial",
                         "Taxa de Reposição (%)",
                         "Valor Energético",
                         "Sobrepostas",
                         "Discretas",
                         "Num. de Ind.",
                         "Nível",
                         "Salvar a cada",
                         "Mutação",
                         "Ativa",
                         "Intervalo",
                         "Mostrar energia",
                         "Tempo real de ciclo",
                         "Gerar arquivo Trace",
                         "Taxa de Permuta",
                         "Configurações Avançadas",
                         "Definição de População Inicial",
                         "Herança Materna",
                         "Herança Paterna",
                         "Qtde.",
                         "Adicionar Individuo",
                         "Indivíduo(s):",
                         "Taxas de Permuta",
                         "Valores Padrão",
                         "Genes do Cromossomo",
                         "Detecta",
                         "Luta",
                         "Partilha",
                         "Morte mm, Mm mM, MM",
                         "Reprodução rr, Rr rR, RR",
                         "Clonar Individuo"});
    // The columns of the trace and snapshot files, and of the summary.
    for (const QString& coluna :
         QStringLiteral("Id;IdPai;IdMãe;Geração;Vivo;Adulto;Sexo;DetecX;DetecX/CuidaY;Livre;"
                        "loopNasc;loopMorto;Energia;VisãoP7;VisãoP6;ReproP5;PartP4;LutaP3;"
                        "MorteP2;IntelP1;IntelP0;NeutroP0;VisãoM7;NeutroM0")
             .split(QLatin1Char(';')))
        EXPECT_TRUE(texto.contains(coluna)) << coluna.toStdString();
    EXPECT_TRUE(
        pagina(QStringLiteral("arquivos.html"))
            .contains(QStringLiteral("<pre>Id;IdPai;IdMãe;Geração;Vivo;Adulto;Sexo;DetecX;"
                                     "DetecX/CuidaY;Livre;loopNasc;loopMorto;Energia;"
                                     "VisãoP7;VisãoP6;ReproP5;PartP4;LutaP3;MorteP2;"
                                     "IntelP1;IntelP0;NeutroP0;VisãoM7;VisãoM6;ReproM5;"
                                     "PartM4;LutaM3;MorteM2;IntelM1;IntelM0;NeutroM0;</pre>")));
    const QString resumo = pagina(QStringLiteral("arquivos.html"));
    for (const QString& coluna :
         QString::fromLatin1(EstatisticasPopulacao::cabecalhoCsv()).split(QLatin1Char(';')))
        EXPECT_TRUE(resumo.contains(coluna)) << coluna.toStdString();
    esperarTodos(texto, {"--summary", "--seed", "--cycles", "--set", "--trace", "--save", "--new"});
    // Every name keldo-run's --set takes, beside the dialog fields.
    const QString dialogos = pagina(QStringLiteral("dialogos.html"));
    for (const std::string& nome : nomesDeParametros())
        EXPECT_TRUE(dialogos.contains(QString::fromStdString(nome))) << nome;
    // The world's size limit is the program's own number.
    EXPECT_TRUE(pagina(QStringLiteral("simulacao.html"))
                    .contains(QStringLiteral("mais de %1 indivíduos").arg(CKeldoDoc::limiteMundo)));
}

TEST(Manual, JanelaAbreSecoesENavega) {
    CJanelaAjuda janela;
    EXPECT_EQ(janela.navegador()->source(), CJanelaAjuda::urlDe(QStringLiteral("index.html")));
    ASSERT_EQ(janela.sumario()->topLevelItemCount(),
              static_cast<int>(CJanelaAjuda::paginas().size()));
    // Sections of the exercises page: the three exercises.
    int posicao = 0;
    while (CJanelaAjuda::paginas()[static_cast<size_t>(posicao)].arquivo !=
           std::string_view("exercicios.html"))
        ++posicao;
    QTreeWidgetItem* exercicios = janela.sumario()->topLevelItem(posicao);
    ASSERT_EQ(exercicios->childCount(), 3);
    EXPECT_EQ(exercicios->child(2)->data(0, Qt::UserRole).toUrl().fragment(),
              QStringLiteral("ligacao"));

    ASSERT_TRUE(janela.abrir(QStringLiteral("exercicios.html#ligacao")));
    EXPECT_EQ(janela.sumario()->currentItem(), exercicios);
    EXPECT_TRUE(janela.navegador()->toPlainText().contains(QStringLiteral("Partilha e Luta")));
    EXPECT_TRUE(janela.navegador()->isBackwardAvailable());
    EXPECT_FALSE(janela.abrir(QStringLiteral("nao_existe.html")));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    Q_INIT_RESOURCE(manual);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
