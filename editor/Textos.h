#pragma once
#include "gui/CAboutDlg.h"
#include "gui/JanelaDocumento.h"
#include "gui/LinhaComando.h"
#include <QString>

namespace keldo::editor {

using keldo::gui::CAboutDlg;
using keldo::gui::LinhaComando;
using keldo::gui::TextosJanela;

// The editor's fixed texts, in one place, as the simulator keeps its own.
namespace Textos {

// The editor lists the old upper-case names as well.
inline const TextosJanela janela{
    QStringLiteral("Keldo GE - Editor de Genótipos"), QStringLiteral("Untitled"),
    QStringLiteral("KELDO Files (*.gen *.GEN *.Gen);;All Files (*)"), QStringLiteral(".GEN")};
inline const QString statusOcioso = QStringLiteral("Pronto para carregar projeto de simulação");

// Compared exactly with "Portugues" to choose the language of the column titles.
inline const QString idioma = QStringLiteral("Portugues");
// The open and save messages of its own.
inline const QString versaoInvalida = QStringLiteral("Versão de arquivo inválida!");
inline const QString salvarMesmoNome = QStringLiteral("Salvar com o nome de arquivo anterior?");
// Clones take ids above every row's, up to the largest the file can hold.
inline const QString semIdsParaClones =
    QStringLiteral("Não há mais ids livres para clones: o maior id do projeto já é 2147483647!");
inline const QString poucosIdsParaClones =
    QStringLiteral("Restam só %1 id(s) livre(s) para clones: escolha uma quantidade menor!");

inline const CAboutDlg::Conteudo sobre{
    QStringLiteral("Sobre o Keldo GE"),
    QStringLiteral("Keldo GE"),
    QStringLiteral("1.1.130 b"),
    QStringLiteral("Editor de genótipos para os projetos de simulação do Keldo"),
    QStringLiteral("Genética de populações para ensino e pesquisa"),
    QIcon()};

inline const LinhaComando::Programa linhaComando{
    QStringLiteral("keldoge"),
    QStringLiteral("Editor de genótipos: lista, edita, apaga e clona os indivíduos de um "
                   "projeto KELDO."),
    QStringLiteral("PROJETO.gen"), QStringLiteral("projeto de simulação a abrir")};

} // namespace Textos

} // namespace keldo::editor
