#pragma once
#include "editor/ListaIndividuos.h"
#include "editor/TextoLinha.h"
#include "gui/FormGenotipo.h"
#include <QWidget>
#include <map>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace keldo::editor {

using keldo::gui::FormGenotipo;

class CIndividuosModel;
class DocumentoEditor;

// The editor's form: one individual shown in radio groups, the list of all
// individuals below, and the clone button. A click on a group applies that
// group to every selected row.
class CKeldoView : public QWidget {
    Q_OBJECT
  public:
    explicit CKeldoView(DocumentoEditor& documento, QWidget* pai = nullptr);

    // Rebuilds the rows from the document (living first, then the dead) and
    // selects the last row; `habilitar` enables the form.
    void inicializar(bool habilitar);

    CIndividuosModel& modelo() { return *linhas; }
    QTableView* lista() const { return tabela; }
    QAbstractButton* botao(int idControle) const;
    QLineEdit* campoQtde() const { return qtde; }
    QLineEdit* campoId() const { return id; }
    QLineEdit* campoGeracao() const { return geracao; }
    QLabel* contador() const { return contadorLinhas; }
    QPushButton* botaoClonar() const { return clonarBotao; }
    QWidget* controle(int idControle) const;

    // The form's values as the controls show them (qtde is read on cloning).
    ValoresForm lerForm() const;
    void preencherForm(const SpecX& individuo);
    // Applies one change code to every selected row.
    void aplicarMudanca(int codigo);
    // "Clonar Individuo": validates Qtde. and appends that many clones.
    void clonar();
    // Removes the selected rows and selects the row that followed the last one.
    void excluirSelecionadas();
    // Selects (adding to the selection) and shows a row; out of range = the last row.
    void selecionarLinha(int indice);
    void limparSelecao();
    std::vector<int> linhasSelecionadas() const;
    void atualizarContagem();

  signals:
    // The user changed the individuals.
    void modificou();

  protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;

  private:
    struct Grupo {
        int ValoresForm::*campo;
        std::vector<int> ids;
        QButtonGroup* botoes = nullptr;
    };

    void montarForm();
    QWidget* montarLinhaEstado();
    QWidget* montarHeranca(bool materna);
    QWidget* montarRodape();
    void montarLista();
    QButtonGroup* criarGrupo(int ValoresForm::*campo, const std::vector<int>& ids,
                             const QStringList& rotulos, bool alelos, QGridLayout* grade, int linha,
                             int coluna);
    void comando(int idControle);
    void layoutSexo(bool macho);
    void selecaoMudou();
    int linhaParaOForm() const;
    void escreverValores(const ValoresForm& v);

    DocumentoEditor& doc;
    CIndividuosModel* linhas = nullptr;
    ListaIndividuos* tabela = nullptr;
    QLineEdit* id = nullptr;
    QLineEdit* geracao = nullptr;
    QLineEdit* qtde = nullptr;
    QLabel* contadorLinhas = nullptr;
    QPushButton* clonarBotao = nullptr;
    FormGenotipo form;
    std::vector<Grupo> grupos;
    std::map<int, QWidget*> controles;
    ValoresForm valores;
    bool excluindo = false;
    int linhaDoForm = -1;
};

} // namespace keldo::editor
