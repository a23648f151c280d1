#pragma once
#include "gui/FormGenotipo.h"
#include "model/Individuo.h"
#include <QDialog>
#include <array>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QWidget;
namespace keldo::model {
class Ambiente;
} // namespace keldo::model

namespace keldo::app {

using keldo::gui::FormGenotipo;
using keldo::model::Ambiente;
using keldo::model::SpecX;

// "Definição de População Inicial": the defined initial population, edited
// one individual at a time. Each list line is the text of one template (its
// sex, stage and both alleles of every gene); the templates are rebuilt from
// the lines on "OK" and after a deletion.
class CPopulationDlg : public QDialog {
    Q_OBJECT

  public:
    // `modelos` are the dialog's own copies; `sobrepostas` tells whether the
    // parameters dialog has overlapping generations selected (no eggs then).
    CPopulationDlg(std::vector<SpecX> modelos, Ambiente* mundo, bool sobrepostas,
                   QWidget* parent = nullptr);
    ~CPopulationDlg() override;

    const std::vector<SpecX>& modelos() const { return lista; }
    QStringList linhas() const;

    // The line of an existing template, numbered `numero`.
    static QString textoDoModelo(const SpecX& modelo, long numero);
    // Overwrites a template's sex, stage, sex-chromosome alleles, haplotypes
    // and generation with what a line says (its number is ignored).
    static void aplicarLinha(const QString& linha, SpecX& modelo);

    // More lines would no longer sort in the order of their five-digit numbers.
    static constexpr int capacidadeLista = 99999;

  public slots:
    void accept() override;
    void adicionarIndividuo();
    void excluirSelecionados();

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    // The radio groups; "Esq" is the left column ("Herança Materna"), whose
    // alleles go first in each pair, "Dir" the right one ("Herança Paterna").
    enum Grupo {
        Sexo,
        Estagio,
        DetecEsq,
        DetecDir,
        Cuida,
        VisaoEsq,
        VisaoDir,
        ReproEsq,
        ReproDir,
        PartilhaEsq,
        PartilhaDir,
        LutaEsq,
        LutaDir,
        MorteEsq,
        MorteDir,
        IntelEsq,
        IntelDir,
        NeutroEsq,
        NeutroDir,
        NumGrupos
    };

    void construirInterface();
    QWidget* criarGrupo(Grupo grupo, const char* nome, const QStringList& textos);
    QLayout* construirGenes();
    void aplicarSexo(int sexo);
    QString alelo(Grupo grupo) const;
    QString textoDasEscolhas() const;
    SpecX novoFundador(int32_t id) const;
    void preencherLista();
    void reconstruirModelos();
    void atualizarContagem();

    std::vector<SpecX> lista;
    Ambiente* mundo;
    bool sobrepostas;
    long numeroLinha = 1;
    std::array<QButtonGroup*, NumGrupos> grupos{};
    FormGenotipo form;
    QListWidget* listaLinhas = nullptr;
    QLineEdit* editQtde = nullptr;
    QLabel* rotuloContagem = nullptr;
};

} // namespace keldo::app
