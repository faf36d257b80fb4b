#include "convert/fomSetup.h"

#include "convert/SelectedOptionButtons.h"
#include "platform/Numbers.h"
#include "ui_fomSetup.h"

#include <algorithm>
#include <cmath>

fomSetup::fomSetup(SettingsRecord& settings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::fomSetup>()), m_settings(settings) {
    m_ui->setupUi(this);
    setFixedSize(size());
    connect(m_ui->hscNitiGosa, &QScrollBar::valueChanged, this, &fomSetup::hscNitiGosa_Change);
    connect(m_ui->cmdExit, &QPushButton::clicked, this, &fomSetup::cmdExit_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &fomSetup::cmdCancel_Click);
    Form_Load();
}

fomSetup::~fomSetup() = default;

void fomSetup::Form_Load() {
    m_ui->optLsConv0->setChecked(m_settings.LsConv == 0);
    m_ui->optLsConv1->setChecked(m_settings.LsConv == 1);
    const double percent =
        std::isnan(m_settings.NitiGosa) ? 0.0 : std::clamp(m_settings.NitiGosa * 100.0, 0.0, 100.0);
    m_ui->hscNitiGosa->setValue(static_cast<int>(Numbers::roundHalfEven(percent)));
    // The label follows the bar from the start, also when the value did not change.
    hscNitiGosa_Change();
}

void fomSetup::hscNitiGosa_Change() {
    m_ui->lblNitiGosa->setText(QString::number(m_ui->hscNitiGosa->value()) + QStringLiteral("％"));
}

void fomSetup::cmdExit_Click() {
    m_settings.LsConv =
        static_cast<qint16>(SelectedOptionIndex({m_ui->optLsConv0, m_ui->optLsConv1}, 0));
    m_settings.NitiGosa = m_ui->hscNitiGosa->value() / 100.0;
    accept();
}

void fomSetup::cmdCancel_Click() {
    reject();
}

bool fomSetup::showModal(SettingsRecord& settings, QWidget* parent) {
    fomSetup dialog(settings, parent);
    return dialog.exec() == QDialog::Accepted;
}
