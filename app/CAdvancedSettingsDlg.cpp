#include "app/CAdvancedSettingsDlg.h"
#include "gui/Validacao.h"
#include "sim/SimulationParameters.h"
#include "ui_CAdvancedSettingsDlg.h"
#include <QMessageBox>
#include <QPushButton>

namespace {
const QString tituloAplicacao = QStringLiteral("KELDO");
} // namespace

CAdvancedSettingsDlg::CAdvancedSettingsDlg(const SimulationParameters& p, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::CAdvancedSettingsDlg>()) {
    ui->setupUi(this);
    campos = {{{ui->editDetecta, 0, 1000, 100},
               {ui->editLuta, 0, 1000, 50},
               {ui->editMorteMm, 0, 200, 40},
               {ui->editMorteMmHet, 0, 200, 20},
               {ui->editMorteMM, 0, 200, 0},
               {ui->editReproRr, 50, 2000, 400},
               {ui->editReproRrHet, 50, 2000, 200},
               {ui->editReproRR, 50, 2000, 400},
               {ui->editPartilha, 0, 500, 0}}};
    valores = {p.detecta,  p.luta,     p.morte_mm, p.morte_Mm, p.morte_MM,
               p.repro_rr, p.repro_Rr, p.repro_RR, p.partilha};

    const int larguraEdit = fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12;
    for (const Campo& c : campos)
        c.edit->setFixedWidth(larguraEdit);
    for (QLabel* rotulo : {ui->rotuloMorteMm, ui->rotuloMorteMmHet, ui->rotuloMorteMM,
                           ui->rotuloReproRr, ui->rotuloReproRrHet, ui->rotuloReproRR})
        rotulo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->gradeValores->setColumnStretch(7, 1);
    ui->botoes->button(QDialogButtonBox::Ok)->setDefault(true);

    connect(ui->botaoPadrao, &QPushButton::clicked, this, &CAdvancedSettingsDlg::valoresPadrao);
    connect(ui->botoes, &QDialogButtonBox::accepted, this, &CAdvancedSettingsDlg::accept);
    connect(ui->botoes, &QDialogButtonBox::rejected, this, &CAdvancedSettingsDlg::reject);
    escreverControles();
}

CAdvancedSettingsDlg::~CAdvancedSettingsDlg() = default;

void CAdvancedSettingsDlg::armazenarEm(SimulationParameters& p) const {
    p.detecta = valores[0];
    p.luta = valores[1];
    p.morte_mm = valores[2];
    p.morte_Mm = valores[3];
    p.morte_MM = valores[4];
    p.repro_rr = valores[5];
    p.repro_Rr = valores[6];
    p.repro_RR = valores[7];
    p.partilha = valores[8];
}

void CAdvancedSettingsDlg::escreverControles() {
    for (size_t i = 0; i < campos.size(); ++i)
        campos[i].edit->setText(QString::number(valores[i]));
}

void CAdvancedSettingsDlg::valoresPadrao() {
    for (size_t i = 0; i < campos.size(); ++i)
        valores[i] = campos[i].padrao;
    escreverControles();
}

// The reminder comes on every press, before any value is checked.
void CAdvancedSettingsDlg::accept() {
    QMessageBox::warning(this, QStringLiteral("Atenção"),
                         QStringLiteral("Para que estes configurações tomem efeito uma nova "
                                        "configuração precisa ser criada (Ctrl+N)!"));
    std::array<uint32_t, 9> lidos{};
    for (size_t i = 0; i < campos.size(); ++i) {
        const Campo& c = campos[i];
        const auto valor = Validacao::lerSemSinal(c.edit, c.min, c.max, this, tituloAplicacao);
        if (!valor)
            return;
        lidos[i] = *valor;
    }
    valores = lidos;
    QDialog::accept();
}
