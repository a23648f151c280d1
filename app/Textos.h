#pragma once
#include <QString>

// The simulator's fixed texts of its main window and command line, in one
// place, as the editor keeps its own.
namespace Textos {

inline const QString tituloJanela = QStringLiteral("KELDO");
inline const QString tituloSemNome = QStringLiteral("Untitled");
inline const QString filtroArquivos = QStringLiteral("KELDO Files (*.gen);;All Files (*)");
inline const QString extensao = QStringLiteral(".gen");
inline const QString statusOcioso =
    QStringLiteral("Pronto para carregar/criar projeto de simulação");
inline const QString tituloAtencao = QStringLiteral("Atenção");

inline const QString tituloSobre = QStringLiteral("Sobre o KELDO");
inline const QString nomePrograma = QStringLiteral("KELDO");
// Follows the project's version ("1.1.106" + this).
inline const QString sufixoVersao = QStringLiteral(" b");
inline const QString credito1 = QStringLiteral("Simulador de genética de populações da espécie X");
inline const QString credito2 = QStringLiteral("Projeto KELDO: ensino de genética e evolução");

// The command line.
inline const QString programa = QStringLiteral("keldo");
inline const QString descricao =
    QStringLiteral("Simulador de genética de populações da espécie X.\nSem "
                   "PROJETO.gen, cria um mundo novo com os parâmetros padrão.");
inline const QString argumento = QStringLiteral("PROJETO.gen");
inline const QString explicacaoArgumento = QStringLiteral("projeto de simulação a abrir");

} // namespace Textos
