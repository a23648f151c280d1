#include "help/CJanelaAjuda.h"
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

namespace keldo::help {

namespace {
QString lerRecurso(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(arquivo.readAll());
}
} // namespace

const std::vector<CJanelaAjuda::Pagina>& CJanelaAjuda::paginas() {
    static const std::vector<Pagina> lista = {
        {"index.html", "Início"},
        {"simulacao.html", "A simulação"},
        {"comandos.html", "Menus e comandos"},
        {"dialogos.html", "Caixas de diálogo"},
        {"graficos.html", "Gráficos"},
        {"arquivos.html", "Arquivos e keldo-run"},
        {"experimentos.html", "Experimentos"},
        {"editor.html", "O editor de genótipos"},
        {"exercicios.html", "Exercícios para a sala de aula"},
    };
    return lista;
}

QUrl CJanelaAjuda::urlDe(const QString& arquivo) {
    return QUrl(QStringLiteral("qrc:/manual/") + arquivo);
}

CJanelaAjuda::CJanelaAjuda(QWidget* pai) : QMainWindow(pai) {
    setWindowTitle(QStringLiteral("Keldo HP - Manual do KELDO"));
    setWindowIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("pagina"));
    browser->setOpenExternalLinks(true);
    browser->setSearchPaths({QStringLiteral(":/manual")});
    browser->document()->setDefaultStyleSheet(lerRecurso(QStringLiteral(":/manual/estilo.css")));
    browser->document()->setDocumentMargin(14);

    arvore = new QTreeWidget(this);
    arvore->setObjectName(QStringLiteral("sumario"));
    arvore->setHeaderLabel(QStringLiteral("Sumário"));
    arvore->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    montarSumario();

    auto* divisao = new QSplitter(this);
    divisao->addWidget(arvore);
    divisao->addWidget(browser);
    divisao->setStretchFactor(1, 1);
    divisao->setSizes({300, 640});
    setCentralWidget(divisao);
    montarBarra();

    connect(arvore, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        browser->setSource(item->data(0, Qt::UserRole).toUrl());
    });
    connect(arvore, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        browser->setSource(item->data(0, Qt::UserRole).toUrl());
    });
    connect(browser, &QTextBrowser::sourceChanged, this, &CJanelaAjuda::marcarNoSumario);
    connect(browser, &QTextBrowser::highlighted, this, [this](const QUrl& url) {
        statusBar()->showMessage(url.scheme() == QLatin1String("qrc") ? QString() : url.toString());
    });
    browser->setSource(urlDe(QStringLiteral("index.html")));
    resize(980, 700);
}

// Each page with the sections marked <h2 id="...">, in the page's order.
void CJanelaAjuda::montarSumario() {
    static const QRegularExpression secao(QStringLiteral("<h2 id=\"([^\"]+)\">(.*?)</h2>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression marcas(QStringLiteral("<[^>]*>"));
    for (const Pagina& p : paginas()) {
        const QString arquivo = QString::fromLatin1(p.arquivo);
        auto* item = new QTreeWidgetItem(arvore, {QString::fromUtf8(p.titulo)});
        item->setData(0, Qt::UserRole, urlDe(arquivo));
        const QString html = lerRecurso(QStringLiteral(":/manual/") + arquivo);
        for (auto it = secao.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            QString titulo = m.captured(2);
            titulo.remove(marcas);
            auto* filho = new QTreeWidgetItem(item, {titulo.simplified()});
            filho->setToolTip(0, filho->text(0));
            QUrl url = urlDe(arquivo);
            url.setFragment(m.captured(1));
            filho->setData(0, Qt::UserRole, url);
        }
    }
    arvore->expandAll();
}

void CJanelaAjuda::montarBarra() {
    QToolBar* barra = addToolBar(QStringLiteral("Navegação"));
    barra->setObjectName(QStringLiteral("barraNavegacao"));
    barra->setMovable(false);
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* voltar = barra->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                       QStringLiteral("Voltar"), browser, &QTextBrowser::backward);
    voltar->setShortcut(QKeySequence::Back);
    voltar->setEnabled(false);
    connect(browser, &QTextBrowser::backwardAvailable, voltar, &QAction::setEnabled);
    QAction* avancar = barra->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                        QStringLiteral("Avançar"), browser, &QTextBrowser::forward);
    avancar->setShortcut(QKeySequence::Forward);
    avancar->setEnabled(false);
    connect(browser, &QTextBrowser::forwardAvailable, avancar, &QAction::setEnabled);
    QAction* inicio = barra->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                       QStringLiteral("Início"), browser, &QTextBrowser::home);
    inicio->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    barra->addSeparator();
    barra->addWidget(new QLabel(QStringLiteral(" Procurar na página: "), barra));
    busca = new QLineEdit(barra);
    busca->setObjectName(QStringLiteral("busca"));
    busca->setClearButtonEnabled(true);
    busca->setMaximumWidth(220);
    barra->addWidget(busca);
    connect(busca, &QLineEdit::returnPressed, this, &CJanelaAjuda::procurar);
    auto* localizar = new QAction(this);
    localizar->setShortcut(QKeySequence::Find);
    connect(localizar, &QAction::triggered, this, [this] {
        busca->setFocus();
        busca->selectAll();
    });
    addAction(localizar);
}

// The next occurrence, starting over from the top after the last one.
void CJanelaAjuda::procurar() {
    const QString texto = busca->text();
    if (texto.isEmpty())
        return;
    if (browser->find(texto))
        return;
    browser->moveCursor(QTextCursor::Start);
    if (!browser->find(texto))
        statusBar()->showMessage(QStringLiteral("\"%1\" não aparece nesta página.").arg(texto),
                                 4000);
}

bool CJanelaAjuda::abrir(const QString& pagina) {
    const QUrl url = urlDe(pagina);
    if (!QFile::exists(QStringLiteral(":/manual/") + url.path().section(QLatin1Char('/'), -1)))
        return false;
    browser->setSource(url);
    return true;
}

void CJanelaAjuda::marcarNoSumario(const QUrl& url) {
    QUrl pagina = url;
    pagina.setFragment(QString());
    for (int i = 0; i < arvore->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = arvore->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toUrl() == pagina) {
            arvore->setCurrentItem(item);
            return;
        }
    }
}

} // namespace keldo::help
