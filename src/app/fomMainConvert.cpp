// The main window's conversion controls and the run behind the Convert button.

#include "app/fomMain.h"

#include "app/BusyCursor.h"
#include "convert/AutoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/InputCheck.h"
#include "convert/RunMessages.h"
#include "convert/SliderModel.h"
#include "convert/ThreadedRun.h"
#include "platform/MessageBoxes.h"

#include <QMenu>

// The run's services on the window's side: the caption of the Convert button, the questions and
// messages, and the finished text kept until the run has ended.
class fomMain::WindowServices : public RunServices {
public:
    explicit WindowServices(fomMain& window) : m_window(window) {}
    void showPreparing() override {
        m_window.m_tray->cmdWrite()->setText(RunMessages::preparing());
    }
    void showPercent(int percent) override {
        if (m_window.Busy())
            m_window.m_tray->cmdWrite()->setText(RunMessages::percent(percent));
    }
    bool yieldAndCheckAbort() override { return m_window.m_run.takeAbortRequest(); }
    bool confirmCut999() override {
        return MessageBoxes::okCancel(&m_window, RunMessages::ask999());
    }
    void showMessage(const QString& text) override { MessageBoxes::ok(&m_window, text); }
    void handOff(const QString& text) override {
        handedOff = true;
        this->text = text;
    }

    bool handedOff = false;
    QString text;

private:
    fomMain& m_window;
};

void fomMain::SetToCtrl() {
    m_tray->SetToCtrl();
}

void fomMain::CtrlToSet() {
    m_tray->CtrlToSet();
}

void fomMain::FontSet() {
    m_tray->FontSet(FontSetup::textFont(m_settings));
    Form_Resize();
}

void fomMain::AllEnabled(bool enabled) {
    m_tray->setEnabled(enabled);
    m_picBord->setEnabled(enabled);
    m_mnuFileOpen->setEnabled(enabled);
    m_mnuEdit->setEnabled(enabled);
    m_mnuSetup->setEnabled(enabled);
    if (m_textView.isVisible())
        m_textView.setRunMenusEnabled(enabled);
}

void fomMain::cmdSetInit_Click() {
    m_tray->txtTxtTbl()->clear();
    m_settings.resetConversionDefaults();
    m_settings.resetAppearanceDefaults();
    m_tray->picSlider()->SliderInit();
    m_tray->picSlider()->SliderView();
    SetToCtrl();
}

void fomMain::picSlider_DblClick() {
    BusyCursor busy;
    AllEnabled(false);
    CtrlToSet();
    const QImage& picture = m_picPicture->image();
    const AutoLevel::Outcome outcome =
        AutoLevel::AutoLevel(picture.isNull() ? nullptr : &picture, m_selection.state(),
                             m_settings.Low, m_settings.High);
    if (outcome == AutoLevel::Outcome::InvalidSelection)
        MessageBoxes::ok(this, RunMessages::invalidSelection());
    LevelSliderWidget* slider = m_tray->picSlider();
    slider->model().placeKnob(0, m_settings.Low);
    slider->model().placeKnob(1, m_settings.High);
    slider->SliderView();
    AllEnabled(true);
}

// ---- Convert ----

bool fomMain::InputCheck() {
    const auto message = InputCheck::check(m_tray->txtLines()->text(), m_tray->txtTxtTbl()->text());
    if (!message)
        return true;
    MessageBoxes::ok(this, *message);
    return false;
}

void fomMain::cmdWrite_Click() {
    {
        BusyCursor busy;
        RunController::Steps steps;
        steps.InputCheck = [this] { return InputCheck(); };
        steps.AllEnabled = [this](bool on) { AllEnabled(on); };
        steps.CtrlToSet = [this] { CtrlToSet(); };
        steps.ConvDispatch = [this] { ConvDispatch(); };
        steps.restoreCaption = [this] { m_tray->cmdWrite()->setText(RunMessages::convert()); };
        m_run.cmdWrite(steps);
    }
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        QTimer::singleShot(0, this, &fomMain::systemClose);
    }
}

void fomMain::ConvDispatch() {
    if (!m_converter)
        return;
    // The run works on copies, so nothing it reads changes under it.
    const SettingsRecord settings = m_settings;
    const QImage picture = m_picPicture->image();
    const SelectionState selection = m_selection.state();
    const LevelPair levels = SliderModel::levelPair(settings.Low, settings.High);
    const Converter converter = m_converter;
    WindowServices ui(*this);
    const ConversionResult result = ThreadedRun::run(
        [&](RunServices& services) {
            const FontGlyphs glyphs(FontSetup::textFont(settings));
            const ConversionInput input{settings, picture.isNull() ? nullptr : &picture, selection,
                                        glyphs, levels};
            return converter(input, services);
        },
        this, ui, m_run.abortFlag());
    if (ui.handedOff)
        m_textView.View(ui.text, result.selectionCopy);
}
