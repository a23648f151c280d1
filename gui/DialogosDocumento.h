#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace keldo::gui {

// The modal questions a document window asks, each behind a function so that
// tests can answer them without a window of their own.
struct DialogosDocumento {
    // "Open": the chosen file, empty on Cancel.
    std::function<QString(const QString& pasta)> abrir;
    // "Save As": the chosen name, empty on Cancel.
    std::function<QString(const QString& proposta)> salvarComo;
    // OK/Cancel with the exclamation icon; true for OK.
    std::function<bool(const QString& texto)> confirmar;
    // Yes/No/Cancel ("Save changes to %1?").
    std::function<QMessageBox::StandardButton(const QString& texto)> perguntarSalvar;
    std::function<void(const QString& texto)> avisar;

    // The real dialogs over `janela`, captioned `titulo`. `simPadrao` makes
    // Yes the default button of the save question (the simulator's box);
    // without it the box is the plain warning the editor has always shown.
    static DialogosDocumento padrao(QWidget* janela, const QString& titulo, const QString& filtros,
                                    bool simPadrao);
};

} // namespace keldo::gui
