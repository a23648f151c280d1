#pragma once
#include "model/Individuo.h"
#include <QAbstractTableModel>
#include <cstdint>
#include <string>
#include <vector>

namespace keldo::sim {
class CKeldoDoc;
} // namespace keldo::sim

namespace keldo::editor {

using keldo::model::SpecX;

using keldo::sim::CKeldoDoc;

// The rows of the editor's list: the view's own copies of the individuals.
// Cell texts are made on demand, so the list holds no texts of its own.
class CIndividuosModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int numColunas = 14;

    explicit CIndividuosModel(bool portugues, QObject* pai = nullptr);

    static std::string textoCelula(const SpecX& individuo, int coluna);
    static QString tituloColuna(int coluna, bool portugues);
    static int larguraColuna(int coluna);

    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    int columnCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int papel) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel) const override;

    const std::vector<SpecX>& individuos() const { return linhas; }
    SpecX& individuo(int linha) { return linhas[static_cast<size_t>(linha)]; }
    int32_t maxId() const { return idMaximo; }

    // Removes every row and sets maxId to 0.
    void limpar();
    // Appends copies of a document list and raises maxId to the highest id seen.
    void carregar(const std::vector<SpecX>& lista);
    // Raises maxId (ids already handed out by the project). Ids are the
    // file's signed numbers: a negative one never raises it.
    void elevarMaxId(int32_t id);
    // Rebuilds the document's living and dead lists from the rows, in row order,
    // each copy with generation 0 and attached to the document; the document's
    // generation becomes 0 and its next id passes every id of the rows.
    void armazenar(CKeldoDoc& doc) const;
    // Highest id among the rows (0 without rows).
    int32_t maiorIdLinhas() const;

    // Sorts ascending by a column and marks its title with "^".
    void ordenar(int coluna);
    // Plain titles again.
    void limparMarca();
    int colunaMarcada() const { return marca; }

    // Appends rows made elsewhere (clones); returns the index of the first.
    int acrescentar(std::vector<SpecX>&& novos);
    // Removes the given rows; returns the index the last removed row had in
    // the new list (that is the row that followed it).
    int remover(std::vector<int> linhasRemovidas);
    // Repaints rows de..ate after their individuals changed.
    void linhasAlteradas(int de, int ate);
    // How many clone ids are left above maxId, up to the largest int32.
    int64_t idsLivres() const { return INT32_MAX - int64_t{idMaximo}; }
    // Hands out the next clone id, above every row's; only while idsLivres() > 0.
    int32_t proximoIdClone() { return ++idMaximo; }

  private:
    std::vector<SpecX> linhas;
    int32_t idMaximo = 0;
    bool portugues;
    int marca = -1;
};

} // namespace keldo::editor
