#include "app/CPopulationDlg.h"
#include "gui/FormGenotipo.h"
#include "gui/TextosGenoma.h"
#include "gui/Validacao.h"
#include "model/Ambiente.h"
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <string_view>

namespace keldo::app {

using namespace keldo::gui;
using namespace keldo::sim;
using namespace keldo::model;

namespace {

using TextosGenoma::letrasGene;
using TextosGenoma::rotuloGene;

const QString tituloAplicacao = QStringLiteral("KELDO");
constexpr int numColunas = 19;
// Where columns 2..19 of a line start, in dialog units (a quarter of the
// font's average character width).
constexpr int paradasDlu[numColunas - 1] = {30,  50,  70,  92,  120, 135, 155, 170, 190,
                                            205, 225, 240, 260, 275, 295, 310, 330, 345};
constexpr int margemTexto = 3;

int larguraMediaCaractere(const QFontMetrics& medidas) {
    static const QString letras =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    return (medidas.horizontalAdvance(letras) / 26 + 1) / 2;
}

int inicioColuna(int coluna, const QFontMetrics& medidas) {
    return coluna == 0 ? 0 : paradasDlu[coluna - 1] * larguraMediaCaractere(medidas) / 4;
}

int larguraLinha(const QFontMetrics& medidas) {
    return inicioColuna(numColunas - 1, medidas) + medidas.horizontalAdvance(QStringLiteral("NN"));
}

// Draws tab-separated texts at the list's tab stops. A line's texts are cut
// at the next stop; captions, which may span a pair of columns, are not.
void desenharColunas(QPainter* pintor, const QRect& area, const QStringList& colunas,
                     const QFontMetrics& medidas, bool recortar = true) {
    for (int i = 0; i < colunas.size() && i < numColunas; ++i) {
        const int x = area.left() + margemTexto + inicioColuna(i, medidas);
        const bool ultima = i + 1 >= numColunas;
        const int fim = recortar && !ultima
                            ? area.left() + margemTexto + inicioColuna(i + 1, medidas)
                            : area.right();
        pintor->drawText(QRect(x, area.top(), fim - x, area.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, colunas[i]);
    }
}

// Shows each line's tab-separated text in aligned columns.
class DelegadoColunas : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override {
        QStyleOptionViewItem opt = opcao;
        initStyleOption(&opt, indice);
        const QStringList colunas = opt.text.split(QLatin1Char('\t'));
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* estilo = widget ? widget->style() : nullptr;
        if (estilo)
            estilo->drawControl(QStyle::CE_ItemViewItem, &opt, pintor, widget);
        pintor->save();
        const bool selecionada = opt.state & QStyle::State_Selected;
        pintor->setPen(opt.palette.color(QPalette::Normal,
                                         selecionada ? QPalette::HighlightedText : QPalette::Text));
        desenharColunas(pintor, opt.rect, colunas, opt.fontMetrics);
        pintor->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& opcao, const QModelIndex&) const override {
        const QFontMetrics& medidas = opcao.fontMetrics;
        return {larguraLinha(medidas) + 2 * margemTexto, medidas.height() + 2};
    }
};

// The list's captions are the genes' names, some in the short form the list
// has always shown (checked against the genome table).
struct Abreviacao {
    Genoma::Gene gene;
    std::string_view texto;
};
constexpr Abreviacao abreviacoes[] = {{Genoma::Detecta, "Detec"},
                                      {Genoma::Visao, "Visao"},
                                      {Genoma::Reproducao, "Reprod."},
                                      {Genoma::Inteligencia, "Intel."}};
constexpr bool abreviacoesConferem() {
    for (const Abreviacao& a : abreviacoes)
        if (!Genoma::abreviacao(a.gene, a.texto))
            return false;
    return true;
}
static_assert(abreviacoesConferem(), "the list's captions must follow the genome table");

QString paraQString(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QString legendaDoGene(Genoma::Gene g) {
    for (const Abreviacao& a : abreviacoes)
        if (a.gene == g)
            return paraQString(a.texto);
    return TextosGenoma::nomeGene(g);
}

// The sex chromosomes' genes, then each autosomal gene's caption over the
// first of its two columns.
QStringList legendasDaLista() {
    QStringList legendas{QStringLiteral("Id"), QStringLiteral("Sexo"), QStringLiteral("Ovo"),
                         legendaDoGene(Genoma::Detecta), legendaDoGene(Genoma::Cuida)};
    for (int g = 0; g < Genoma::numAutossomicos; ++g) {
        if (g > 0)
            legendas << QString();
        legendas << legendaDoGene(static_cast<Genoma::Gene>(g));
    }
    return legendas;
}

// The column captions over the list, at the same tab stops.
class CabecalhoColunas : public QWidget {
  public:
    CabecalhoColunas(int recuo, QWidget* pai) : QWidget(pai), deslocamento(recuo) {
        setFixedHeight(2 * fontMetrics().height() + 2);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        static const QStringList legendas = legendasDaLista();
        QPainter pintor(this);
        const int altura = fontMetrics().height();
        const QRect linhaDeBaixo(deslocamento, height() - altura - 1, width(), altura);
        desenharColunas(&pintor, linhaDeBaixo, legendas, fontMetrics(), false);
        // Column 5 is the female's second Detecta as well as the male's Cuida.
        QStringList acima(4);
        acima << legendaDoGene(Genoma::Detecta) + QLatin1Char('/');
        desenharColunas(&pintor, linhaDeBaixo.translated(0, -altura), acima, fontMetrics(), false);
    }

  private:
    int deslocamento;
};

} // namespace

CPopulationDlg::CPopulationDlg(std::vector<SpecX> modelos, Ambiente* mundoDoc,
                               bool geracoesSobrepostas, QWidget* parent)
    : QDialog(parent), lista(std::move(modelos)), mundo(mundoDoc),
      sobrepostas(geracoesSobrepostas) {
    setWindowTitle(QStringLiteral("Definição de População Inicial"));
    construirInterface();
    aplicarSexo(0);
    // No eggs can be added under overlapping generations; "O" lines already present stay.
    grupos[Estagio]->button(1)->setEnabled(!sobrepostas);
    preencherLista();
}

CPopulationDlg::~CPopulationDlg() = default;

QWidget* CPopulationDlg::criarGrupo(Grupo grupo, const char* nome, const QStringList& textos) {
    auto* caixa = new QWidget(this);
    auto* linha = new QHBoxLayout(caixa);
    linha->setContentsMargins(0, 0, 0, 0);
    const auto estilo = grupo == Sexo || grupo == Estagio ? FormGenotipo::Estilo::radio
                                                          : FormGenotipo::Estilo::radioAlelo;
    const QString prefixo = QLatin1String(nome);
    grupos[grupo] = form.grupo(
        textos, estilo, caixa, {}, [&prefixo](int i, int) { return prefixo + QString::number(i); },
        [linha](QAbstractButton* b, int) { linha->addWidget(b); });
    linha->addStretch(1);
    return caixa;
}

QLayout* CPopulationDlg::construirGenes() {
    auto* grade = new QGridLayout;
    grade->setVerticalSpacing(2);
    grade->setHorizontalSpacing(10);
    auto rotulo = [this](const QString& texto, bool negrito = false) {
        auto* r = new QLabel(texto, this);
        if (negrito) {
            QFont f = r->font();
            f.setBold(true);
            r->setFont(f);
        }
        return r;
    };
    auto subtitulo = [&](const QString& texto) {
        QLabel* r = rotulo(texto);
        r->setContentsMargins(0, 6, 0, 0);
        QFont f = r->font();
        f.setItalic(true);
        r->setFont(f);
        return r;
    };
    const int esq = 0, dir = 3;
    grade->addWidget(criarGrupo(Sexo, "sexo", {QStringLiteral("&Macho"), QStringLiteral("&Fêmea")}),
                     0, esq, 1, 2);
    grade->addWidget(
        criarGrupo(Estagio, "estagio", {QStringLiteral("&Adulto"), QStringLiteral("&Ovo")}), 0, dir,
        1, 2);
    grade->addWidget(rotulo(QStringLiteral("Herança Materna"), true), 1, esq, 1, 2);
    grade->addWidget(rotulo(QStringLiteral("Herança Paterna"), true), 1, dir, 1, 2);

    grade->addWidget(subtitulo(QStringLiteral("Cromossomo X")), 2, esq, 1, 2);
    grade->addWidget(rotulo(rotuloGene(Genoma::Detecta)), 3, esq);
    grade->addWidget(criarGrupo(DetecEsq, "detecEsq", letrasGene(Genoma::Detecta)), 3, esq + 1);
    QLabel* xDireito = subtitulo(QStringLiteral("Cromossomo X"));
    QLabel* detectaDireito = rotulo(rotuloGene(Genoma::Detecta));
    QWidget* alelosXDireito = criarGrupo(DetecDir, "detecDir", letrasGene(Genoma::Detecta));
    grade->addWidget(xDireito, 2, dir, 1, 2);
    grade->addWidget(detectaDireito, 3, dir);
    grade->addWidget(alelosXDireito, 3, dir + 1);
    form.controlesDaFemea({xDireito, detectaDireito, alelosXDireito});
    QLabel* y = subtitulo(QStringLiteral("Cromossomo Y"));
    QLabel* cuida = rotulo(rotuloGene(Genoma::Cuida));
    QWidget* alelosY = criarGrupo(Cuida, "cuida", letrasGene(Genoma::Cuida));
    grade->addWidget(y, 4, dir, 1, 2);
    grade->addWidget(cuida, 5, dir);
    grade->addWidget(alelosY, 5, dir + 1);
    form.controlesDoMacho({y, cuida, alelosY});

    grade->addWidget(subtitulo(QStringLiteral("Cromossomos Autossômicos")), 6, esq, 1, 2);
    grade->addWidget(subtitulo(QStringLiteral("Cromossomos Autossômicos")), 6, dir, 1, 2);
    // Object names of the gene rows, in the genome's order.
    const char* const nomes[Genoma::numAutossomicos] = {"visao", "repro", "partilha", "luta",
                                                        "morte", "intel", "neutro"};
    for (int i = 0; i < Genoma::numAutossomicos; ++i) {
        const auto g = static_cast<Genoma::Gene>(i);
        const auto grupoEsq = static_cast<Grupo>(VisaoEsq + 2 * i);
        const QString nome = QLatin1String(nomes[i]);
        grade->addWidget(rotulo(rotuloGene(g)), 7 + i, esq);
        grade->addWidget(
            criarGrupo(grupoEsq, qPrintable(nome + QStringLiteral("Esq")), letrasGene(g)), 7 + i,
            esq + 1);
        grade->addWidget(rotulo(rotuloGene(g)), 7 + i, dir);
        grade->addWidget(criarGrupo(static_cast<Grupo>(grupoEsq + 1),
                                    qPrintable(nome + QStringLiteral("Dir")), letrasGene(g)),
                         7 + i, dir + 1);
    }
    auto* divisoria = new QFrame(this);
    divisoria->setFrameShape(QFrame::VLine);
    divisoria->setFrameShadow(QFrame::Sunken);
    grade->addWidget(divisoria, 1, 2, 13, 1);
    grade->setColumnStretch(5, 1);
    return grade;
}

void CPopulationDlg::construirInterface() {
    auto* principal = new QVBoxLayout(this);
    principal->addLayout(construirGenes());

    auto* linhaAdicionar = new QHBoxLayout;
    linhaAdicionar->addWidget(new QLabel(QStringLiteral("Qtde."), this));
    editQtde = new QLineEdit(QStringLiteral("1"), this);
    editQtde->setObjectName(QStringLiteral("editQtde"));
    editQtde->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 10);
    linhaAdicionar->addWidget(editQtde);
    auto* adicionar = new QPushButton(QStringLiteral("Adicionar Individuo"), this);
    adicionar->setObjectName(QStringLiteral("botaoAdicionar"));
    adicionar->setAutoDefault(false);
    connect(adicionar, &QPushButton::clicked, this, &CPopulationDlg::adicionarIndividuo);
    linhaAdicionar->addWidget(adicionar);
    linhaAdicionar->addStretch(1);
    principal->addSpacing(6);
    principal->addLayout(linhaAdicionar);

    listaLinhas = new QListWidget(this);
    listaLinhas->setObjectName(QStringLiteral("listaIndividuos"));
    listaLinhas->setSortingEnabled(true);
    listaLinhas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listaLinhas->setUniformItemSizes(true);
    listaLinhas->setItemDelegate(new DelegadoColunas(listaLinhas));
    listaLinhas->installEventFilter(this);
    const int larguraLista = larguraLinha(listaLinhas->fontMetrics()) + 2 * margemTexto +
                             2 * listaLinhas->frameWidth() +
                             style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    listaLinhas->setMinimumSize(larguraLista, 10 * (listaLinhas->fontMetrics().height() + 2));
    principal->addWidget(new CabecalhoColunas(listaLinhas->frameWidth(), this));
    principal->addWidget(listaLinhas, 1);

    auto* rodape = new QHBoxLayout;
    rodape->addWidget(new QLabel(QStringLiteral("Indivíduo(s):"), this));
    rotuloContagem = new QLabel(QStringLiteral("0"), this);
    rotuloContagem->setObjectName(QStringLiteral("contagem"));
    rodape->addWidget(rotuloContagem);
    rodape->addStretch(1);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    botoes->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(botoes, &QDialogButtonBox::accepted, this, &CPopulationDlg::accept);
    connect(botoes, &QDialogButtonBox::rejected, this, &CPopulationDlg::reject);
    rodape->addWidget(botoes);
    principal->addLayout(rodape);

    connect(grupos[Sexo], &QButtonGroup::idToggled, this, [this](int sexo, bool marcado) {
        if (marcado)
            aplicarSexo(sexo);
    });
}

// A male has a Y in the right column, a female a second X.
void CPopulationDlg::aplicarSexo(int sexo) {
    form.aplicarSexo(sexo == 0);
}

QString CPopulationDlg::alelo(Grupo grupo) const {
    return grupos[grupo]->checkedButton()->text().remove(QLatin1Char('&'));
}

// Columns 2..19 of a new line, from the radio choices.
QString CPopulationDlg::textoDasEscolhas() const {
    const bool macho = grupos[Sexo]->checkedId() == 0;
    QStringList colunas;
    colunas << (macho ? QStringLiteral("M") : QStringLiteral("F"))
            << (grupos[Estagio]->checkedId() == 0 ? QStringLiteral("A") : QStringLiteral("O"))
            << alelo(DetecEsq) << alelo(macho ? Cuida : DetecDir);
    for (int g = VisaoEsq; g < NumGrupos; ++g)
        colunas << alelo(static_cast<Grupo>(g));
    return colunas.join(QLatin1Char('\t'));
}

QString CPopulationDlg::textoDoModelo(const SpecX& m, long numero) {
    const bool macho = m.sexo() != 0;
    auto letra = [](Genoma::Gene g, int codigo) {
        return QString(QLatin1String(Genoma::letra(g, codigo)));
    };
    QStringList colunas;
    colunas << QStringLiteral("%1").arg(numero, 5, 10, QLatin1Char('0'))
            << (macho ? QStringLiteral("M") : QStringLiteral("F"))
            << (m.adulto() ? QStringLiteral("A") : QStringLiteral("O"))
            << letra(Genoma::Detecta, m.detecXBit())
            << letra(Genoma::geneDoSegundo(m.estado), m.detecXCuidaYBit());
    for (int i = 0; i < Genoma::numAutossomicos; ++i) {
        const auto g = static_cast<Genoma::Gene>(i);
        colunas << letra(g, Genoma::alelo(g, m.genotipoP))
                << letra(g, Genoma::alelo(g, m.genotipoM));
    }
    return colunas.join(QLatin1Char('\t'));
}

void CPopulationDlg::aplicarLinha(const QString& linha, SpecX& m) {
    const QStringList c = linha.split(QLatin1Char('\t'));
    auto coluna = [&c](int i) { return i < c.size() ? c[i] : QString(); };
    const bool macho = coluna(1) == QLatin1String("M");
    m.definirBit(EstadoBit::sexo, macho);
    m.definirBit(EstadoBit::adulto, coluna(2) == QLatin1String("A"));
    auto codigo = [&](Genoma::Gene g, int i) {
        return Genoma::codigoDaLetra(g, coluna(i).toStdString());
    };
    m.definirBit(EstadoBit::detecX, codigo(Genoma::Detecta, 3) != 0);
    m.definirBit(EstadoBit::detecXCuidaY, codigo(Genoma::geneDoSegundo(m.estado), 4) != 0);
    uint16_t haplotipos[2] = {0, 0};
    for (int lado = 0; lado < 2; ++lado)
        for (int i = 0; i < Genoma::numAutossomicos; ++i) {
            const auto g = static_cast<Genoma::Gene>(i);
            haplotipos[lado] = Genoma::comAlelo(g, haplotipos[lado], codigo(g, 5 + 2 * i + lado));
        }
    m.genotipoP = haplotipos[0];
    m.genotipoM = haplotipos[1];
    // Eggs of the initial population belong to generation 1.
    if (coluna(2) == QLatin1String("O"))
        m.geracao = 1;
}

QStringList CPopulationDlg::linhas() const {
    QStringList textos;
    for (int i = 0; i < listaLinhas->count(); ++i)
        textos << listaLinhas->item(i)->text();
    return textos;
}

// A random founder, whose draws and position come from the world. Without
// one there is nothing to draw from: a plain adult at the origin.
SpecX CPopulationDlg::novoFundador(int32_t id) const {
    if (mundo)
        return SpecX(id, 0, mundo);
    SpecX fundador;
    fundador.id = id;
    fundador.estado = EstadoBit::adulto | EstadoBit::vivo;
    return fundador;
}

void CPopulationDlg::preencherLista() {
    listaLinhas->clear();
    numeroLinha = 1;
    for (const SpecX& modelo : lista)
        listaLinhas->addItem(textoDoModelo(modelo, numeroLinha++));
    atualizarContagem();
}

// The id of each template is its position in the list, not the number its line shows.
void CPopulationDlg::reconstruirModelos() {
    const QStringList textos = linhas();
    lista.clear();
    lista.reserve(textos.size());
    numeroLinha = 1;
    for (const QString& texto : textos) {
        SpecX modelo = novoFundador(static_cast<int32_t>(numeroLinha));
        aplicarLinha(texto, modelo);
        modelo.calcularFenotipo();
        lista.push_back(modelo);
        ++numeroLinha;
    }
}

void CPopulationDlg::atualizarContagem() {
    rotuloContagem->setText(QString::number(listaLinhas->count()));
}

void CPopulationDlg::adicionarIndividuo() {
    const auto qtde = Validacao::lerInteiro(editQtde, 1, 10000, this, tituloAplicacao);
    if (!qtde)
        return;
    const QString resto = textoDasEscolhas();
    QListWidgetItem* ultimo = nullptr;
    for (int i = 0; i < *qtde; ++i) {
        if (listaLinhas->count() >= capacidadeLista) {
            QMessageBox::warning(
                this, QStringLiteral("Aviso"),
                QStringLiteral("Não é possível adicionar mais elementos a lista !"));
            break;
        }
        const QString numero = QStringLiteral("%1").arg(numeroLinha++, 5, 10, QLatin1Char('0'));
        ultimo = new QListWidgetItem(numero + QLatin1Char('\t') + resto);
        listaLinhas->addItem(ultimo);
    }
    if (ultimo) {
        listaLinhas->setCurrentItem(ultimo, QItemSelectionModel::ClearAndSelect);
        listaLinhas->scrollToItem(ultimo);
    }
    atualizarContagem();
}

void CPopulationDlg::excluirSelecionados() {
    qDeleteAll(listaLinhas->selectedItems());
    reconstruirModelos();
    preencherLista();
}

bool CPopulationDlg::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == listaLinhas && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete) {
        excluirSelecionados();
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void CPopulationDlg::accept() {
    reconstruirModelos();
    if (Validacao::lerInteiro(editQtde, 1, 10000, this, tituloAplicacao))
        QDialog::accept();
}

} // namespace keldo::app
