#pragma once
#include <QString>

// The editor's fixed texts, in one place, as the simulator keeps its own.
namespace Textos {

inline const QString tituloJanela = QStringLiteral("Keldo GE - Editor de Genótipos");
inline const QString tituloSemNome = QStringLiteral("Untitled");
inline const QString filtroArquivos =
    QStringLiteral("KELDO Files (*.gen *.GEN *.Gen);;All Files (*)");
inline const QString extensao = QStringLiteral(".GEN");
inline const QString statusOcioso = QStringLiteral("Pronto para carregar projeto de simulação");
// Compared exactly with "Portugues" to choose the language of the column titles.
inline const QString idioma = QStringLiteral("Portugues");

inline const QString versaoInvalida = QStringLiteral("Versão de arquivo inválida!");
inline const QString salvarMesmoNome = QStringLiteral("Salvar com o nome de arquivo anterior?");

inline const QString tituloSobre = QStringLiteral("Sobre o Keldo GE");
inline const QString nomePrograma = QStringLiteral("Keldo GE");
inline const QString versao = QStringLiteral("1.1.130 b");
inline const QString credito1 =
    QStringLiteral("Editor de genótipos para os projetos de simulação do Keldo");
inline const QString credito2 = QStringLiteral("Genética de populações para ensino e pesquisa");

// The command line.
inline const QString programa = QStringLiteral("keldoge");
inline const QString descricao = QStringLiteral(
    "Editor de genótipos: lista, edita, apaga e clona os indivíduos de um projeto KELDO.");
inline const QString argumento = QStringLiteral("PROJETO.gen");
inline const QString explicacaoArgumento = QStringLiteral("projeto de simulação a abrir");

} // namespace Textos
