#pragma once

#include "convert/LevelSliderWidget.h"
#include "convert/SettingsRecord.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>
#include <functional>

// The conversion tray picCmdTray of the main window: the mode buttons, the palette and line
// count boxes, the reverse check box, the level slider with its value boxes and the command
// buttons. It shows the settings record in its controls and copies them back at a conversion;
// the palette box keeps one palette per mode.
class CmdTrayWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int DesignWidth = 6255 / 15;
    static constexpr int DesignHeight = 1425 / 15;

    CmdTrayWidget(SettingsRecord& settings, QWidget* parent = nullptr);

    QRadioButton* optMode(int index) const { return m_optMode[static_cast<size_t>(index)]; }
    QLineEdit* txtTxtTbl() const { return m_txtTxtTbl; }
    QLineEdit* txtLines() const { return m_txtLines; }
    QCheckBox* chkReverce() const { return m_chkReverce; }
    LevelSliderWidget* picSlider() const { return m_slider; }
    QPushButton* cmdFontSet() const { return m_cmdFontSet; }
    QPushButton* cmdSetInit() const { return m_cmdSetInit; }
    QPushButton* cmdRead() const { return m_cmdRead; }
    QPushButton* cmdWrite() const { return m_cmdWrite; }
    QPushButton* cmdExit() const { return m_cmdExit; }

    bool TblFocus() const { return m_tblFocus; }
    bool LinesFocus() const { return m_linesFocus; }
    void clearFocusFlags();

    // The index of the selected mode button, 0 when none is selected.
    qint16 selectedMode() const;

    // The tray part of applying the text font: the palette box one text line high, the font
    // button and label centred on it and the button row below it; the tray's height follows.
    void FontSet(const QFont& font);
    void SetToCtrl();
    // Copies the controls into the settings record. A line count that is not a 16-bit number
    // keeps the stored one.
    void CtrlToSet();

    // The window's FontSet, which SetToCtrl runs first.
    void setFontSetHandler(std::function<void()> handler) { m_fontSet = std::move(handler); }

    void optMode_Click(int index);
    // Down adds one line, Up takes one away (never below 1); true when the key was used.
    bool txtLines_KeyDown(int key);
    void cmdSetInit_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SettingsRecord& m_settings;
    std::array<QRadioButton*, 2> m_optMode{};
    QLabel* m_lblTxtTbl = nullptr;
    QLineEdit* m_txtTxtTbl = nullptr;
    QLabel* m_lblLines = nullptr;
    QLineEdit* m_txtLines = nullptr;
    QCheckBox* m_chkReverce = nullptr;
    std::array<QLineEdit*, 2> m_txtSlider{};
    LevelSliderWidget* m_slider = nullptr;
    QPushButton* m_cmdFontSet = nullptr;
    QPushButton* m_cmdSetInit = nullptr;
    QPushButton* m_cmdRead = nullptr;
    QPushButton* m_cmdWrite = nullptr;
    QPushButton* m_cmdExit = nullptr;
    bool m_tblFocus = false;
    bool m_linesFocus = false;
    std::function<void()> m_fontSet;
};
