#pragma once
#include <QString>
#include <optional>

class QLineEdit;
class QWidget;
namespace keldo::sim {
struct DescricaoParametro;
} // namespace keldo::sim

namespace keldo::gui {

using keldo::sim::DescricaoParametro;

// Field validation with the dialog framework's own English messages. On a
// failure the message box is shown (exclamation icon, caption `titulo`) and
// the focus goes to the field with its text selected.
namespace Validacao {

QString mensagemInteiro();                         // "Please enter an integer."
QString mensagemPositivo();                        // "Please enter a positive integer."
QString mensagemIntervalo(qint64 min, qint64 max); // "Please enter an integer between %1 and %2."

// Parses as the framework does: optional surrounding blanks, optional sign, decimal digits.
std::optional<qint64> analisarInteiro(const QString& texto);

// A signed int field in [min, max].
std::optional<int> lerInteiro(QLineEdit* campo, int min, int max, QWidget* pai,
                              const QString& titulo);
// An unsigned field in [min, max]: a sign or a non-number gives the positive-integer message.
std::optional<unsigned> lerSemSinal(QLineEdit* campo, unsigned min, unsigned max, QWidget* pai,
                                    const QString& titulo);

// The same two, bounded by the parameter's dialog range in the core's table.
std::optional<int> lerInteiro(QLineEdit* campo, const DescricaoParametro& parametro, QWidget* pai,
                              const QString& titulo);
std::optional<unsigned> lerSemSinal(QLineEdit* campo, const DescricaoParametro& parametro,
                                    QWidget* pai, const QString& titulo);

// Shows a validation failure for a field.
void falhar(QLineEdit* campo, const QString& mensagem, QWidget* pai, const QString& titulo);

} // namespace Validacao

} // namespace keldo::gui
