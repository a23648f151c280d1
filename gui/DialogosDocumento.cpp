#include "gui/DialogosDocumento.h"
#include "gui/PastaSimulacoes.h"
#include <QFileDialog>

namespace keldo::gui {

namespace {

QMessageBox::StandardButton perguntarComSimPadrao(QWidget* janela, const QString& titulo,
                                                  const QString& texto) {
    QMessageBox caixa(QMessageBox::Warning, titulo, texto,
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, janela);
    caixa.setDefaultButton(QMessageBox::Yes);
    return static_cast<QMessageBox::StandardButton>(caixa.exec());
}

} // namespace

DialogosDocumento DialogosDocumento::padrao(QWidget* janela, const QString& titulo,
                                            const QString& filtros, bool simPadrao) {
    DialogosDocumento d;
    d.abrir = [janela, filtros](const QString& pasta) {
        return QFileDialog::getOpenFileName(janela, QStringLiteral("Open"), pasta, filtros);
    };
    d.salvarComo = [janela, filtros](const QString& proposta) {
        return PastaSimulacoes::escolherNomeSalvar(janela, proposta, filtros);
    };
    d.confirmar = [janela, titulo](const QString& texto) {
        return QMessageBox::warning(janela, titulo, texto, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    };
    d.perguntarSalvar = [janela, titulo, simPadrao](const QString& texto) {
        if (simPadrao)
            return perguntarComSimPadrao(janela, titulo, texto);
        return QMessageBox::warning(janela, titulo, texto,
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    d.avisar = [janela, titulo](const QString& texto) {
        QMessageBox::warning(janela, titulo, texto);
    };
    return d;
}

} // namespace keldo::gui
