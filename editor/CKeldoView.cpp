#include "editor/CKeldoView.h"
#include "editor/CIndividuosModel.h"
#include "editor/DocumentoEditor.h"
#include "editor/Textos.h"
#include "gui/CursorEspera.h"
#include "gui/FormGenotipo.h"
#include "gui/TextosGenoma.h"
#include "gui/Validacao.h"
#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace keldo::editor {

using namespace keldo::gui;

namespace {

using TextosGenoma::letrasGene;
using TextosGenoma::rotuloGene;

// The height of an allele button, kept free in the maternal side's empty Y row.
constexpr int alturaAlelo = 20;

QLabel* rotulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

} // namespace

CKeldoView::CKeldoView(DocumentoEditor& documento, QWidget* pai) : QWidget(pai), doc(documento) {
    linhas = new CIndividuosModel(Textos::idioma == QLatin1String("Portugues"), this);
    montarForm();
    // The second X and the Y, with their labels.
    form.controlesDaFemea({controle(1083), controle(1086), controle(1037), controle(1038)});
    form.controlesDoMacho({controle(1084), controle(1087), controle(1039), controle(1040)});
    layoutSexo(true);
    setEnabled(false);
}

QAbstractButton* CKeldoView::botao(int idControle) const {
    return qobject_cast<QAbstractButton*>(controle(idControle));
}

QWidget* CKeldoView::controle(int idControle) const {
    const auto it = controles.find(idControle);
    return it == controles.end() ? nullptr : it->second;
}

QButtonGroup* CKeldoView::criarGrupo(int ValoresForm::*campo, const std::vector<int>& ids,
                                     const QStringList& rotulos, bool alelos, QGridLayout* grade,
                                     int linha, int coluna) {
    QButtonGroup* grupo = form.grupo(
        rotulos, alelos ? FormGenotipo::Estilo::botaoAlelo : FormGenotipo::Estilo::radio, this, ids,
        [](int, int idBotao) { return QStringLiteral("c%1").arg(idBotao); },
        [&](QAbstractButton* b, int i) {
            grade->addWidget(b, linha, coluna + i);
            controles[ids[static_cast<size_t>(i)]] = b;
        });
    connect(grupo, &QButtonGroup::idClicked, this, &CKeldoView::comando);
    grupos.push_back({campo, ids, grupo});
    return grupo;
}

void CKeldoView::montarForm() {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(8, 4, 8, 4);
    raiz->setSpacing(4);
    raiz->addWidget(montarLinhaEstado());
    auto* herancas = new QHBoxLayout;
    herancas->setSpacing(8);
    herancas->addWidget(montarHeranca(true));
    herancas->addWidget(montarHeranca(false));
    raiz->addLayout(herancas);
    raiz->addWidget(montarRodape());
    montarLista();
    raiz->addWidget(tabela, 1);
}

QWidget* CKeldoView::montarLinhaEstado() {
    auto* linha = new QWidget(this);
    auto* grade = new QGridLayout(linha);
    grade->setContentsMargins(0, 0, 0, 0);
    grade->setHorizontalSpacing(6);
    id = new QLineEdit(linha);
    geracao = new QLineEdit(linha);
    for (QLineEdit* e : {id, geracao}) {
        e->setReadOnly(true);
        e->setFixedWidth(72);
    }
    controles[1001] = id;
    controles[1002] = geracao;
    grade->addWidget(rotulo(QStringLiteral("Id"), linha), 0, 0);
    grade->addWidget(id, 0, 1);
    grade->addWidget(rotulo(QStringLiteral("Geração"), linha), 0, 2);
    grade->addWidget(geracao, 0, 3);
    grade->setColumnMinimumWidth(4, 10);
    criarGrupo(&ValoresForm::vivoMorto, {1034, 1069}, {"Vivo", "Morto"}, false, grade, 0, 5);
    grade->setColumnMinimumWidth(7, 10);
    criarGrupo(&ValoresForm::machoFemea, {1030, 1031}, {"Macho", "Fêmea"}, false, grade, 0, 8);
    grade->setColumnMinimumWidth(10, 10);
    criarGrupo(&ValoresForm::adultoOvo, {1033, 1032}, {"Adulto", "Ovo"}, false, grade, 0, 11);
    grade->setColumnStretch(13, 1);
    return linha;
}

QWidget* CKeldoView::montarHeranca(bool materna) {
    auto* caixa = new QGroupBox(
        materna ? QStringLiteral("Herança Materna") : QStringLiteral("Herança Paterna"), this);
    controles[materna ? 1072 : 1079] = caixa;
    auto* grade = new QGridLayout(caixa);
    grade->setContentsMargins(6, 2, 6, 4);
    grade->setHorizontalSpacing(5);
    grade->setVerticalSpacing(2);
    auto rotular = [&](const QString& texto, int linha, int coluna, int colunas, int idControle) {
        QLabel* l = rotulo(texto, caixa);
        grade->addWidget(l, linha, coluna, 1, colunas);
        if (idControle)
            controles[idControle] = l;
    };
    // Sex chromosomes: the left column has only the X; the right one X and Y.
    // Their gene label spans into the first two button columns, whose buttons
    // sit further right, so that both labels fit beside the four-button genes.
    rotular(QStringLiteral("Cromossomo X"), 0, 0, 1, materna ? 0 : 1083);
    rotular(rotuloGene(Genoma::Detecta), 0, 1, 3, materna ? 0 : 1086);
    if (materna) {
        criarGrupo(&ValoresForm::detectaMaterna, {1035, 1036}, letrasGene(Genoma::Detecta), true,
                   grade, 0, 4);
        grade->setRowMinimumHeight(1, alturaAlelo);
    } else {
        criarGrupo(&ValoresForm::detectaPaterna, {1037, 1038}, letrasGene(Genoma::Detecta), true,
                   grade, 0, 4);
        rotular(QStringLiteral("Cromossomo Y"), 1, 0, 1, 1084);
        rotular(rotuloGene(Genoma::Cuida), 1, 1, 3, 1087);
        criarGrupo(&ValoresForm::cuidaPaterna, {1039, 1040}, letrasGene(Genoma::Cuida), true, grade,
                   1, 4);
    }
    QLabel* autossomicos = rotulo(QStringLiteral("Cromossomos Autossômicos"), caixa);
    QFont negrito = autossomicos->font();
    negrito.setBold(true);
    autossomicos->setFont(negrito);
    grade->addWidget(autossomicos, 2, 0, 1, 6);

    struct Gene {
        Genoma::Gene gene;
        std::vector<int> idsMaterna, idsPaterna;
    };
    const Gene genes[] = {
        {Genoma::Visao, {1041, 1042, 1045, 1046}, {1047, 1048, 1049, 1050}},
        {Genoma::Reproducao, {1043, 1044}, {1051, 1052}},
        {Genoma::Partilha, {1053, 1054}, {1055, 1056}},
        {Genoma::Luta, {1057, 1058}, {1059, 1060}},
        {Genoma::Morte, {1061, 1062}, {1063, 1064}},
        {Genoma::Inteligencia, {1065, 1066, 1067, 1068}, {1073, 1074, 1075, 1076}},
        {Genoma::Neutro, {1077, 1078}, {1081, 1082}},
    };
    int linha = 3;
    for (const Gene& g : genes) {
        grade->addWidget(rotulo(rotuloGene(g.gene), caixa), linha, 0, 1, 2);
        criarGrupo(TextoLinha::campoDoGene(g.gene, materna ? 0 : 1),
                   materna ? g.idsMaterna : g.idsPaterna, letrasGene(g.gene), true, grade, linha,
                   2);
        ++linha;
    }
    grade->setColumnStretch(6, 1);
    return caixa;
}

QWidget* CKeldoView::montarRodape() {
    auto* rodape = new QWidget(this);
    auto* h = new QHBoxLayout(rodape);
    h->setContentsMargins(0, 0, 0, 0);
    clonarBotao = new QPushButton(QStringLiteral("Clonar Individuo"), rodape);
    controles[1019] = clonarBotao;
    connect(clonarBotao, &QPushButton::clicked, this, &CKeldoView::clonar);
    qtde = new QLineEdit(QStringLiteral("1"), rodape);
    qtde->setFixedWidth(60);
    qtde->installEventFilter(this);
    controles[1000] = qtde;
    contadorLinhas = new QLabel(QStringLiteral("0"), rodape);
    contadorLinhas->setMinimumWidth(50);
    controles[1088] = contadorLinhas;
    h->addWidget(clonarBotao);
    h->addSpacing(8);
    h->addWidget(rotulo(QStringLiteral("Qtde."), rodape));
    h->addWidget(qtde);
    h->addStretch(1);
    h->addWidget(rotulo(QStringLiteral("Indivíduo(s):"), rodape));
    h->addWidget(contadorLinhas);
    return rodape;
}

void CKeldoView::montarLista() {
    tabela = new ListaIndividuos(this);
    tabela->setTabKeyNavigation(false);
    controles[1103] = tabela;
    tabela->setModel(linhas);
    tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabela->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setShowGrid(true);
    tabela->setWordWrap(false);
    tabela->setSortingEnabled(false);
    tabela->verticalHeader()->hide();
    tabela->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tabela->verticalHeader()->setDefaultSectionSize(tabela->fontMetrics().height() + 4);
    QHeaderView* cabecalho = tabela->horizontalHeader();
    cabecalho->setSectionsClickable(true);
    cabecalho->setHighlightSections(false);
    cabecalho->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cabecalho->setStretchLastSection(false);
    // Each column at least as wide as its title with the sort mark, the Id
    // column at least as wide as a five-digit id.
    for (int c = 0; c < CIndividuosModel::numColunas; ++c) {
        const QString titulo = linhas->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        tabela->setColumnWidth(c, std::max(CIndividuosModel::larguraColuna(c),
                                           tabela->larguraTitulo(titulo + QLatin1Char('^'))));
    }
    tabela->garantirLargura(0, tabela->larguraCelula(QStringLiteral("99999")));
    // The selection stays visible while the list has no focus.
    QPalette p = tabela->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    tabela->setPalette(p);
    tabela->installEventFilter(this);

    connect(cabecalho, &QHeaderView::sectionClicked, this, [this](int coluna) {
        linhas->ordenar(coluna);
        if (linhas->rowCount() > 0) {
            limparSelecao();
            selecionarLinha(-1);
        }
    });
    connect(tabela->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CKeldoView::selecaoMudou);
    connect(tabela->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CKeldoView::selecaoMudou);
}

void CKeldoView::inicializar(bool habilitar) {
    linhas->limpar();
    linhas->carregar(doc.doc.vivos());
    linhas->carregar(doc.doc.mortos());
    // Clones must also stay clear of ids the project has handed out before.
    if (doc.doc.proximoId() > 1)
        linhas->elevarMaxId(doc.doc.proximoId() - 1);
    setEnabled(habilitar);
    atualizarContagem();
    selecionarLinha(-1);
    if (habilitar)
        tabela->setFocus();
}

void CKeldoView::atualizarContagem() {
    contadorLinhas->setText(QString::number(linhas->rowCount()));
    // Longer ids widen the Id column, so that no id is ever cut.
    tabela->garantirLargura(0, tabela->larguraCelula(QString::number(linhas->maiorIdLinhas())));
}

ValoresForm CKeldoView::lerForm() const {
    ValoresForm v = valores;
    for (const Grupo& g : grupos) {
        const auto it = std::find(g.ids.begin(), g.ids.end(), g.botoes->checkedId());
        v.*(g.campo) = it == g.ids.end() ? 0 : static_cast<int>(it - g.ids.begin());
    }
    return v;
}

void CKeldoView::escreverValores(const ValoresForm& v) {
    for (const Grupo& g : grupos) {
        const int posicao = v.*(g.campo);
        if (posicao >= 0 && posicao < static_cast<int>(g.ids.size()))
            g.botoes->button(g.ids[static_cast<size_t>(posicao)])->setChecked(true);
    }
    id->setText(QString::number(v.idForm));
    geracao->setText(QString::number(v.geracaoForm));
    layoutSexo(v.machoFemea == 0);
}

void CKeldoView::preencherForm(const SpecX& individuo) {
    valores = TextoLinha::valoresDoIndividuo(individuo, lerForm());
    escreverValores(valores);
}

void CKeldoView::layoutSexo(bool macho) {
    form.aplicarSexo(macho);
}

void CKeldoView::comando(int idControle) {
    const int codigo = TextoLinha::codigoDoControle(idControle);
    if (codigo != 0)
        aplicarMudanca(codigo);
    emit modificou();
    if (idControle == 1030)
        layoutSexo(true);
    else if (idControle == 1031)
        layoutSexo(false);
}

std::vector<int> CKeldoView::linhasSelecionadas() const {
    std::vector<int> r;
    for (const QModelIndex& i : tabela->selectionModel()->selectedRows())
        r.push_back(i.row());
    std::sort(r.begin(), r.end());
    return r;
}

void CKeldoView::aplicarMudanca(int codigo) {
    valores = lerForm();
    const std::string textoForm = TextoLinha::textoForm(valores);
    const std::vector<int> selecionadas = linhasSelecionadas();
    if (selecionadas.empty())
        return;
    CursorEspera espera;
    for (int r : selecionadas) {
        SpecX& s = linhas->individuo(r);
        TextoLinha::aplicarTextoLinha(s, TextoLinha::textoLinha(s.id, textoForm), codigo);
    }
    linhas->linhasAlteradas(selecionadas.front(), selecionadas.back());
}

void CKeldoView::clonar() {
    const auto n = Validacao::lerSemSinal(qtde, 1, 10000, this, Textos::janela.titulo);
    if (!n)
        return;
    // Every clone takes an id above all rows': none is made when there are
    // not ids enough for all of them.
    if (*n > linhas->idsLivres()) {
        QMessageBox::warning(this, Textos::janela.titulo,
                             linhas->idsLivres() == 0
                                 ? Textos::semIdsParaClones
                                 : Textos::poucosIdsParaClones.arg(linhas->idsLivres()));
        return;
    }
    valores = lerForm();
    valores.qtde = *n;
    const std::string textoForm = TextoLinha::textoForm(valores);
    CursorEspera espera;
    std::vector<SpecX> clones;
    clones.reserve(*n);
    for (unsigned i = 0; i < *n; ++i) {
        const int32_t novoId = linhas->proximoIdClone();
        // A random founder off obstacles, then everything the form shows.
        SpecX clone(novoId, 0, &doc.doc);
        TextoLinha::aplicarTextoLinha(clone, TextoLinha::textoLinha(novoId, textoForm),
                                      TextoLinha::tudo);
        clones.push_back(clone);
    }
    linhas->acrescentar(std::move(clones));
    atualizarContagem();
    limparSelecao();
    selecionarLinha(-1);
    emit modificou();
}

void CKeldoView::excluirSelecionadas() {
    const std::vector<int> selecionadas = linhasSelecionadas();
    if (selecionadas.empty())
        return;
    excluindo = true;
    const int seguinte = linhas->remover(selecionadas);
    excluindo = false;
    atualizarContagem();
    selecionarLinha(seguinte);
    emit modificou();
}

void CKeldoView::selecionarLinha(int indice) {
    const int n = linhas->rowCount();
    if (n == 0)
        return;
    if (indice < 0 || indice >= n)
        indice = n - 1;
    tabela->setFocus();
    const QModelIndex i = linhas->index(indice, 0);
    tabela->selectionModel()->setCurrentIndex(i, QItemSelectionModel::Select |
                                                     QItemSelectionModel::Rows);
    tabela->scrollTo(i);
}

void CKeldoView::limparSelecao() {
    tabela->selectionModel()->clearSelection();
    tabela->selectionModel()->clearCurrentIndex();
}

void CKeldoView::selecaoMudou() {
    if (excluindo)
        return;
    const int r = linhaParaOForm();
    if (r < 0)
        return;
    linhaDoForm = r;
    preencherForm(linhas->individuo(r));
}

// The row that became selected last: the current row while it is selected.
// A current row that was just deselected (Ctrl+click) is not shown, since an
// edit would not change it; the form then keeps a row that is still selected.
int CKeldoView::linhaParaOForm() const {
    const QItemSelectionModel* sel = tabela->selectionModel();
    const int n = linhas->rowCount();
    const QModelIndex atual = sel->currentIndex();
    if (atual.isValid() && atual.row() < n && sel->isRowSelected(atual.row()))
        return atual.row();
    if (linhaDoForm >= 0 && linhaDoForm < n && sel->isRowSelected(linhaDoForm))
        return linhaDoForm;
    const std::vector<int> selecionadas = linhasSelecionadas();
    return selecionadas.empty() ? -1 : selecionadas.back();
}

bool CKeldoView::eventFilter(QObject* alvo, QEvent* evento) {
    if (alvo == tabela && evento->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Delete) {
        excluirSelecionadas();
        return true;
    }
    // The menu's Ctrl+A (Abrir) wins over the field's select-all.
    if (alvo == qtde && evento->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(evento)->matches(QKeySequence::SelectAll)) {
        evento->ignore();
        return true;
    }
    return QWidget::eventFilter(alvo, evento);
}

} // namespace keldo::editor
