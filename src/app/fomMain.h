#pragma once

#include "app/AiraBarWidget.h"
#include "app/PictureBoxWidget.h"
#include "app/SelectionModel.h"
#include "app/SettingsFileLink.h"
#include "app/TextViewLink.h"
#include "convert/CmdTrayWidget.h"
#include "convert/ConversionInput.h"
#include "convert/RunController.h"
#include "convert/RunServices.h"
#include "platform/clsComDlg.h"

#include <QMainWindow>
#include <QScrollBar>
#include <QTimer>

#include <array>
#include <functional>

// The main window: the picture with its scroll bars and selection rectangle, the conversion
// tray and the menus. It runs start-up and shutdown, loads pictures and starts conversions,
// which run on a worker thread while the window keeps answering.
class fomMain : public QMainWindow {
    Q_OBJECT
public:
    using Converter = std::function<ConversionResult(const ConversionInput&, RunServices&)>;
    // Who asked the window to close: the user or the program's own exit commands, or anything
    // else (a signal, the session ending), which does not ask.
    enum class UnloadMode { User, System };

    static constexpr int DesignClientWidth = 6360 / 15;
    static constexpr int DesignClientHeight = 5100 / 15;
    static constexpr int ScrollSmallStep = 32;

    fomMain(SettingsRecord& settings, SettingsFileLink& settingsFile, TextViewLink& textView,
            QWidget* parent = nullptr);
    ~fomMain() override;

    // The converter a run dispatches to for a settings record.
    void setConverter(Converter converter) { m_converter = std::move(converter); }
    // The file named on the command line, opened on the first activation.
    void setCommandLine(const QString& commandLine) { m_commandLine = commandLine; }

    // Start-up after the single-instance test; false when the program must end now.
    bool Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_QueryUnload(bool& cancel, UnloadMode mode);
    void Form_Unload();
    // A close that must not ask (SIGTERM, SIGINT, the session ending): a running conversion is
    // stopped at its next character and the window closes once it has ended.
    void systemClose();
    // Another copy of the program asked this one to come forward.
    void bringToFront();

    bool Busy() const { return m_run.Busy(); }
    bool AbortReq() const { return m_run.AbortReq(); }
    const QString& PicFileName() const { return m_picFileName; }
    const QString& SettingsPath() const { return m_settingsPath; }
    const SelectionModel& selection() const { return m_selection; }
    clsComDlg& ComDlg() { return m_comDlg; }
    CmdTrayWidget* tray() const { return m_tray; }

    void PicOpen();
    void PicLoad(const QString& path);
    void ScrSet();
    void AiraSet(qint16 x, qint16 y, int button);
    void AutoScroll(qint32 x, qint32 y);
    void SetToCtrl();
    void CtrlToSet();
    void FontSet();
    void AllEnabled(bool enabled);

    void cmdWrite_Click();
    void cmdRead_Click();
    void cmdExit_Click();
    void cmdSetInit_Click();
    void mnuFileOpen_Click();
    void mnuFileExit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuHelpTopic_Click();
    void mnuSetup_Click();
    void mnuHelpVersion_Click();
    void cmdFontSet_Click();
    void picSlider_DblClick();
    void hscBord_Change(int value);
    void vscBord_Change(int value);
    void picPicture_KeyDown(QKeyEvent* event);
    void picPicture_MouseDown(QMouseEvent* event);
    void picPicture_MouseMove(QMouseEvent* event);
    void picPicture_MouseUp(QMouseEvent* event);
    void picAira_MouseDown(int index, QMouseEvent* event);
    void picAira_MouseMove(int index, QMouseEvent* event);
    void picAira_MouseUp(int index, QMouseEvent* event);
    void timAriaView_Timer();
    void OLEDragDrop(const QList<QUrl>& urls);

signals:
    // The shutdown sequence has run; the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class WindowServices;
    // The caption without a picture; with one, the picture's file name comes first.
    static inline const QString Title = QStringLiteral("Charloom");

    void buildMenus();
    void wire();
    void ConvDispatch();
    bool InputCheck();
    void syncBars();
    void hookWheels();
    void unhookWheels();
    void recordPlacement();
    void pastePicture(const QImage& image);
    void restorePlacement();

    SettingsRecord& m_settings;
    SettingsFileLink& m_settingsFile;
    TextViewLink& m_textView;
    Converter m_converter;
    clsComDlg m_comDlg;
    RunController m_run;
    SelectionModel m_selection;
    QString m_picFileName;
    QString m_settingsPath;
    QString m_commandLine;
    bool m_activatedOnce = false;
    bool m_closeBySystem = false;
    bool m_closeAfterRun = false;

    QWidget* m_client = nullptr;
    PictureBoxWidget* m_picBord = nullptr;
    PictureBoxWidget* m_picPicture = nullptr;
    std::array<AiraBarWidget*, 4> m_picAira{};
    QScrollBar* m_vscBord = nullptr;
    QScrollBar* m_hscBord = nullptr;
    CmdTrayWidget* m_tray = nullptr;
    QTimer* m_timAriaView = nullptr;
    QAction* m_mnuFileOpen = nullptr;
    QAction* m_mnuFileExit = nullptr;
    QMenu* m_mnuEdit = nullptr;
    QAction* m_mnuSetup = nullptr;
    QAction* m_mnuEditCut = nullptr;
    QAction* m_mnuEditCopy = nullptr;
    QAction* m_mnuEditPaste = nullptr;
    QAction* m_mnuHelpTopic = nullptr;
    QAction* m_mnuHelpVersion = nullptr;
};
