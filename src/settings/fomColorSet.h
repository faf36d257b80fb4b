#pragma once

#include "convert/SettingsRecord.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>
#include <QList>

#include <memory>

namespace Ui {
class fomColorSet;
}

// The colour dialog "色の設定": text and background colours of the text view from two rows of
// eleven swatches, optForeColor(0..10) and optBackColor(0..10), named optForeColor0 ... and
// optBackColor0 .... The third swatch of each row stands for the converted picture's own colours
// and is drawn hatched. A stored colour that no swatch has opens its row with nothing selected and
// survives "戻る"; only "戻る" writes the settings record.
class fomColorSet : public QDialog {
    Q_OBJECT

public:
    // Opens the dialog modally over parent; true when it was accepted.
    static bool showModal(SettingsRecord& settings, QWidget* parent);

    fomColorSet(SettingsRecord& settings, QWidget* parent = nullptr);
    ~fomColorSet() override;

    void cmdExit_Click();
    void cmdCancel_Click();

    QList<QAbstractButton*> foreButtons() const { return m_fore; }
    QList<QAbstractButton*> backButtons() const { return m_back; }

private:
    void Form_Load();
    QList<QAbstractButton*> makeRow(const QString& prefix, QButtonGroup& group);

    std::unique_ptr<Ui::fomColorSet> m_ui;
    SettingsRecord& m_settings;
    QButtonGroup m_foreGroup;
    QButtonGroup m_backGroup;
    QList<QAbstractButton*> m_fore;
    QList<QAbstractButton*> m_back;
};
