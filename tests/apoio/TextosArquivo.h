// The file messages both desktop programs must give, word for word.
#pragma once
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <filesystem>
#include <string>

namespace TextosArquivo {

inline QString nativo(const QString& caminho) {
    return QDir::toNativeSeparators(QFileInfo(caminho).absoluteFilePath());
}

inline QString falhaAbrir(const QString& caminho, const QString& razao) {
    return QStringLiteral("Failed to open document.\n%1: %2.").arg(nativo(caminho), razao);
}

inline QString falhaSalvar(const QString& caminho, const QString& razao) {
    return QStringLiteral("Failed to save document.\n%1: %2.").arg(nativo(caminho), razao);
}

// The reason given for a project whose world would pass the limit.
inline QString alemDoLimite(const QString& caminho) {
    return QStringLiteral("%1 holds more than 300000 individuals and food items, the limit of a "
                          "world.")
        .arg(nativo(caminho));
}

// The message for a file of the damaged set (tests/data/danificados), by the
// kind of damage its name tells; the program's own version and parameter
// checks are left to each program's test (empty here).
inline QString danificado(const std::filesystem::path& arquivo) {
    const std::string nome = arquivo.filename().string();
    const auto comeca = [&](const char* prefixo) { return nome.rfind(prefixo, 0) == 0; };
    const QString caminho = nativo(QString::fromStdString(arquivo.string()));
    const QString abrir = QStringLiteral("Failed to open document.\n");
    if (comeca("versao_") || comeca("numIndividuos_") || comeca("qtdAlimento_") ||
        comeca("intervaloAnimacao_") || comeca("salvarCiclos_") || comeca("morte_") ||
        comeca("repro_"))
        return QString();
    if (comeca("esquema_"))
        return abrir + QStringLiteral("%1 contains an incorrect schema.").arg(caminho);
    if (comeca("classe_") || comeca("nome_de_classe") || comeca("referencia_") ||
        comeca("item_de_comida"))
        return abrir + QStringLiteral("%1 contained an unexpected object.").arg(caminho);
    if (comeca("posicao_") || comeca("direcao_"))
        return abrir + QStringLiteral("%1: Unexpected file format.").arg(caminho);
    if (comeca("contagem_enorme_de_32_bits")) // past the world limit before past the end
        return abrir + alemDoLimite(caminho);
    // Cut short, or a count or a text longer than what is left.
    return abrir + QStringLiteral("An attempt was made to access %1 past its end.").arg(caminho);
}

// Whether `texto` is the clear message for a file of the damaged set: the
// framework's words naming the file, or the program's own `versaoInvalida`
// or parameter message.
inline bool mensagemClara(const QString& texto, const std::filesystem::path& arquivo,
                          const QString& versaoInvalida) {
    if (arquivo.filename().string().rfind("versao_", 0) == 0)
        return texto == versaoInvalida;
    const QString esperado = danificado(arquivo);
    if (esperado.isEmpty())
        return texto.startsWith(QStringLiteral("Parâmetro inválido no arquivo: "));
    return texto == esperado;
}

} // namespace TextosArquivo
