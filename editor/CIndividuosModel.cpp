#include "editor/CIndividuosModel.h"
#include "gui/CursorEspera.h"
#include "sim/CKeldoDoc.h"
#include <algorithm>
#include <cstdio>
#include <string_view>

namespace keldo::editor {

using namespace keldo::gui;
using namespace keldo::sim;

namespace {

struct Coluna {
    const char* pt;
    const char* en;
    int largura;
};

constexpr Coluna colunas[CIndividuosModel::numColunas] = {
    {"Id", "Id", 40},
    {"Ger", "Ger", 40},
    {"Vida", "Life", 35},
    {"Sexo", "Sex", 40},
    {"Ovo", "Egg", 35},
    {"Det.", "Det.", 33},
    {"Cui./Det.", "Care/Det", 55},
    {"Visao", "Vision", 45},
    {"Reprod.", "Reprod.", 53},
    {"Partilha", "Partit", 53},
    {"Luta", "Fight", 37},
    {"Morte", "Death", 42},
    {"Intel.", "Intel.", 37},
    {"Neutro", "Neutral", 47},
};

// The first autosomal gene's column.
constexpr int colunaVisao = 7;

// The Portuguese captions of the gene columns keep their old abbreviations;
// they must still name the genome table's genes, in its order.
constexpr bool colunasConferem() {
    const std::string_view cuidaOuDetecta = colunas[colunaVisao - 1].pt;
    const size_t barra = cuidaOuDetecta.find('/');
    if (barra == std::string_view::npos ||
        !Genoma::abreviacao(Genoma::Cuida, cuidaOuDetecta.substr(0, barra)) ||
        !Genoma::abreviacao(Genoma::Detecta, cuidaOuDetecta.substr(barra + 1)) ||
        !Genoma::abreviacao(Genoma::Detecta, colunas[colunaVisao - 2].pt))
        return false;
    for (int g = 0; g < Genoma::numAutossomicos; ++g)
        if (!Genoma::abreviacao(static_cast<Genoma::Gene>(g), colunas[colunaVisao + g].pt))
            return false;
    return colunaVisao + Genoma::numAutossomicos == CIndividuosModel::numColunas;
}
static_assert(colunasConferem(), "the gene columns must follow the genome table");

// The alleles of an autosomal gene, paternal word first ("Rr", "V1V3").
std::string par(const SpecX& s, Genoma::Gene g) {
    return std::string(Genoma::letra(g, Genoma::alelo(g, s.genotipoP))) +
           Genoma::letra(g, Genoma::alelo(g, s.genotipoM));
}

} // namespace

CIndividuosModel::CIndividuosModel(bool pt, QObject* pai)
    : QAbstractTableModel(pai), portugues(pt) {}

std::string CIndividuosModel::textoCelula(const SpecX& s, int coluna) {
    char buf[16];
    switch (coluna) {
    case 0:
        std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(s.id));
        return buf;
    case 1:
        std::snprintf(buf, sizeof buf, "%lu", static_cast<unsigned long>(s.geracao));
        return buf;
    case 2:
        return s.vivo() ? "V" : "M";
    case 3:
        return s.sexo() ? "M" : "F";
    case 4:
        return s.adulto() ? "A" : "O";
    case 5:
        return Genoma::letra(Genoma::Detecta, s.detecXBit());
    case 6:
        return Genoma::letra(Genoma::geneDoSegundo(s.estado), s.detecXCuidaYBit());
    }
    if (coluna >= colunaVisao && coluna < colunaVisao + Genoma::numAutossomicos)
        return par(s, static_cast<Genoma::Gene>(coluna - colunaVisao));
    return {};
}

QString CIndividuosModel::tituloColuna(int coluna, bool pt) {
    if (coluna < 0 || coluna >= numColunas)
        return {};
    return QString::fromLatin1(pt ? colunas[coluna].pt : colunas[coluna].en);
}

int CIndividuosModel::larguraColuna(int coluna) {
    return coluna >= 0 && coluna < numColunas ? colunas[coluna].largura : 0;
}

int CIndividuosModel::rowCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : static_cast<int>(linhas.size());
}

int CIndividuosModel::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : numColunas;
}

QVariant CIndividuosModel::data(const QModelIndex& i, int papel) const {
    if (!i.isValid() || i.row() >= rowCount())
        return {};
    if (papel == Qt::DisplayRole || papel == Qt::ToolTipRole)
        return QString::fromLatin1(textoCelula(linhas[static_cast<size_t>(i.row())], i.column()));
    if (papel == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

QVariant CIndividuosModel::headerData(int secao, Qt::Orientation o, int papel) const {
    if (o != Qt::Horizontal)
        return {};
    if (papel == Qt::DisplayRole) {
        QString t = tituloColuna(secao, portugues);
        if (secao == marca)
            t += QLatin1Char('^');
        return t;
    }
    if (papel == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

void CIndividuosModel::limpar() {
    beginResetModel();
    linhas.clear();
    idMaximo = 0;
    marca = -1;
    endResetModel();
}

void CIndividuosModel::carregar(const std::vector<SpecX>& lista) {
    if (lista.empty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + static_cast<int>(lista.size()) - 1);
    for (const SpecX& s : lista) {
        linhas.push_back(s);
        elevarMaxId(s.id);
    }
    endInsertRows();
}

void CIndividuosModel::elevarMaxId(int32_t id) {
    idMaximo = std::max(idMaximo, id);
}

void CIndividuosModel::armazenar(CKeldoDoc& doc) const {
    std::vector<SpecX> vivos, mortos;
    for (const SpecX& linha : linhas) {
        SpecX copia = linha;
        copia.geracao = 0;
        copia.anexar(&doc);
        (copia.vivo() ? vivos : mortos).push_back(copia);
    }
    // Ids handed to clones must never come back as ids of the simulator's newborns
    // (past the largest id there is no next one to give).
    const int32_t maior = maiorIdLinhas();
    doc.substituirIndividuos(std::move(vivos), std::move(mortos),
                             maior < INT32_MAX ? maior + 1 : INT32_MAX);
}

int32_t CIndividuosModel::maiorIdLinhas() const {
    int32_t maior = 0;
    for (const SpecX& s : linhas)
        maior = std::max(maior, s.id);
    return maior;
}

void CIndividuosModel::ordenar(int coluna) {
    if (coluna < 0 || coluna >= numColunas)
        return;
    marca = coluna;
    emit headerDataChanged(Qt::Horizontal, 0, numColunas - 1);
    if (linhas.empty())
        return;
    CursorEspera espera;
    emit layoutAboutToBeChanged();
    if (coluna == 0) {
        std::stable_sort(linhas.begin(), linhas.end(), [](const SpecX& a, const SpecX& b) {
            return static_cast<uint32_t>(a.id) < static_cast<uint32_t>(b.id);
        });
    } else if (coluna == 1) {
        std::stable_sort(linhas.begin(), linhas.end(),
                         [](const SpecX& a, const SpecX& b) { return a.geracao < b.geracao; });
    } else {
        // Byte order of the cell texts: capitals before small letters.
        std::stable_sort(linhas.begin(), linhas.end(), [coluna](const SpecX& a, const SpecX& b) {
            return textoCelula(a, coluna) < textoCelula(b, coluna);
        });
    }
    emit layoutChanged();
}

void CIndividuosModel::limparMarca() {
    marca = -1;
    emit headerDataChanged(Qt::Horizontal, 0, numColunas - 1);
}

int CIndividuosModel::acrescentar(std::vector<SpecX>&& novos) {
    const int primeira = rowCount();
    if (novos.empty())
        return primeira;
    beginInsertRows({}, primeira, primeira + static_cast<int>(novos.size()) - 1);
    for (SpecX& s : novos)
        linhas.push_back(std::move(s));
    endInsertRows();
    return primeira;
}

int CIndividuosModel::remover(std::vector<int> removidas) {
    std::sort(removidas.begin(), removidas.end());
    removidas.erase(std::unique(removidas.begin(), removidas.end()), removidas.end());
    std::erase_if(removidas, [this](int r) { return r < 0 || r >= rowCount(); });
    if (removidas.empty())
        return -1;
    CursorEspera espera;
    beginResetModel();
    std::vector<SpecX> restantes;
    restantes.reserve(linhas.size() - removidas.size());
    size_t k = 0;
    for (size_t i = 0; i < linhas.size(); ++i) {
        if (k < removidas.size() && static_cast<int>(i) == removidas[k])
            ++k;
        else
            restantes.push_back(std::move(linhas[i]));
    }
    linhas = std::move(restantes);
    endResetModel();
    return removidas.back() - static_cast<int>(removidas.size() - 1);
}

void CIndividuosModel::linhasAlteradas(int de, int ate) {
    if (de < 0 || ate < de)
        return;
    emit dataChanged(index(de, 0), index(ate, numColunas - 1));
}

} // namespace keldo::editor
