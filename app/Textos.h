#pragma once
#include "gui/CAboutDlg.h"
#include "gui/JanelaDocumento.h"
#include "gui/LinhaComando.h"
#include <QString>

namespace keldo::app {

using keldo::gui::CAboutDlg;
using keldo::gui::LinhaComando;
using keldo::gui::TextosJanela;

// The simulator's fixed texts of its main window and command line, in one
// place, as the editor keeps its own.
namespace Textos {

inline const LinhaComando::Programa linhaComando{
    QStringLiteral("keldo"),
    QStringLiteral("Simulador de genética de populações da espécie X.\nSem PROJETO.gen, cria um "
                   "mundo novo com os parâmetros padrão."),
    QStringLiteral("PROJETO.gen"), QStringLiteral("projeto de simulação a abrir")};

inline const TextosJanela janela{QStringLiteral("KELDO"), QStringLiteral("Untitled"),
                                 QStringLiteral("KELDO Files (*.gen);;All Files (*)"),
                                 QStringLiteral(".gen")};
inline const QString statusOcioso =
    QStringLiteral("Pronto para carregar/criar projeto de simulação");
// The caption of the message that a run stopped.
inline const QString tituloAtencao = QStringLiteral("Atenção");
// After the counters when discrete generations can no longer renew; %1 eggs missing.
inline const QString geracaoParada =
    QStringLiteral(" · GERAÇÃO PARADA: faltam %1 ovos e nenhum casal de adultos pode pô-los");

// The About box; the version is the project's, followed by `sufixoVersao`.
inline const CAboutDlg::Conteudo sobre{
    QStringLiteral("Sobre o KELDO"),
    QStringLiteral("KELDO"),
    QString(),
    QStringLiteral("Simulador de genética de populações da espécie X"),
    QStringLiteral("Projeto KELDO: ensino de genética e evolução"),
    QIcon()};
inline const QString sufixoVersao = QStringLiteral(" b");

} // namespace Textos

} // namespace keldo::app
