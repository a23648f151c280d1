#pragma once
#include <QDialog>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace keldo::app {

// "Semente do mundo": the seed the present world was made with, a button
// that makes the same world again from the current parameters, and a field
// to make the world of another seed. keldo-run --seed N makes the same world.
class CSementeDlg : public QDialog {
    Q_OBJECT
  public:
    CSementeDlg(std::optional<uint32_t> semente, QWidget* pai = nullptr);

    // The seed in the field; none when it is not a number from 0 to 4294967295.
    std::optional<uint32_t> sementeDigitada() const;

  signals:
    // Asks for a new world from the current parameters with this seed.
    void criarMundo(uint32_t semente);

  private:
    void pedir(std::optional<uint32_t> semente);

    std::optional<uint32_t> atual;
    QLineEdit* campo = nullptr;
    QPushButton* criarDigitada = nullptr;
};

} // namespace keldo::app
