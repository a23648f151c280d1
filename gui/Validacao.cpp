#include "gui/Validacao.h"
#include "sim/TabelaParametros.h"
#include <QLineEdit>
#include <QMessageBox>

namespace keldo::gui {

using namespace keldo::sim;

namespace Validacao {

QString mensagemInteiro() {
    return QStringLiteral("Please enter an integer.");
}
QString mensagemPositivo() {
    return QStringLiteral("Please enter a positive integer.");
}
QString mensagemIntervalo(qint64 min, qint64 max) {
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max);
}

std::optional<qint64> analisarInteiro(const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int i = 0;
    bool negativo = false;
    if (t[0] == QLatin1Char('-') || t[0] == QLatin1Char('+')) {
        negativo = t[0] == QLatin1Char('-');
        i = 1;
    }
    if (i >= t.size())
        return std::nullopt;
    qint64 valor = 0;
    for (; i < t.size(); ++i) {
        if (!t[i].isDigit() || t[i].unicode() > '9')
            return std::nullopt;
        valor = valor * 10 + (t[i].unicode() - '0');
        if (valor > 0xFFFFFFFFLL)
            return std::nullopt;
    }
    return negativo ? -valor : valor;
}

void falhar(QLineEdit* campo, const QString& mensagem, QWidget* pai, const QString& titulo) {
    QMessageBox::warning(pai, titulo, mensagem);
    if (campo) {
        campo->setFocus();
        campo->selectAll();
    }
}

std::optional<int> lerInteiro(QLineEdit* campo, int min, int max, QWidget* pai,
                              const QString& titulo) {
    const auto valor = analisarInteiro(campo->text());
    if (!valor || *valor < INT32_MIN || *valor > INT32_MAX) {
        falhar(campo, mensagemInteiro(), pai, titulo);
        return std::nullopt;
    }
    if (*valor < min || *valor > max) {
        falhar(campo, mensagemIntervalo(min, max), pai, titulo);
        return std::nullopt;
    }
    return static_cast<int>(*valor);
}

std::optional<unsigned> lerSemSinal(QLineEdit* campo, unsigned min, unsigned max, QWidget* pai,
                                    const QString& titulo) {
    const QString t = campo->text().trimmed();
    const auto valor = analisarInteiro(t);
    if (!valor || t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        falhar(campo, mensagemPositivo(), pai, titulo);
        return std::nullopt;
    }
    if (*valor < min || *valor > max) {
        falhar(campo, mensagemIntervalo(min, max), pai, titulo);
        return std::nullopt;
    }
    return static_cast<unsigned>(*valor);
}

std::optional<int> lerInteiro(QLineEdit* campo, const DescricaoParametro& parametro, QWidget* pai,
                              const QString& titulo) {
    return lerInteiro(campo, static_cast<int>(parametro.minimoDialogo),
                      static_cast<int>(parametro.maximoDialogo), pai, titulo);
}

std::optional<unsigned> lerSemSinal(QLineEdit* campo, const DescricaoParametro& parametro,
                                    QWidget* pai, const QString& titulo) {
    return lerSemSinal(campo, static_cast<unsigned>(parametro.minimoDialogo),
                       static_cast<unsigned>(parametro.maximoDialogo), pai, titulo);
}

} // namespace Validacao

} // namespace keldo::gui
