#pragma once

#include "convert/SettingsRecord.h"

#include <QDialog>

#include <memory>

namespace Ui {
class fomSetup;
}

// The conversion settings dialog "変換設定": how line spacing is read when sampling (LsConv) and
// the two-level converter's neighbour weight (NitiGosa, as a percentage). It writes the settings
// record only on "戻る". The option buttons optLsConv(0) and optLsConv(1) are named optLsConv0 and
// optLsConv1. A stored LsConv without a button opens with none selected (so "戻る" stores 0), and
// a NitiGosa outside 0..1 opens with the thumb at the nearest end.
class fomSetup : public QDialog {
    Q_OBJECT

public:
    // Opens the dialog modally over parent; true when it was accepted.
    static bool showModal(SettingsRecord& settings, QWidget* parent);

    fomSetup(SettingsRecord& settings, QWidget* parent = nullptr);
    ~fomSetup() override;

    void hscNitiGosa_Change();
    void cmdExit_Click();
    void cmdCancel_Click();

private:
    void Form_Load();

    std::unique_ptr<Ui::fomSetup> m_ui;
    SettingsRecord& m_settings;
};
