#include "app/fomMain.h"

#include "app/CommandLine.h"
#include "app/RuntimeLib.h"
#include "convert/AutoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/InputCheck.h"
#include "convert/RunMessages.h"
#include "convert/SliderModel.h"
#include "convert/ThreadedRun.h"
#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "platform/PathHelpers.h"
#include "platform/PictureLoader.h"
#include "platform/WheelForwarding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>

namespace {

const QString Title = QStringLiteral("Charloom");
constexpr int TwipsPerPixel = 15;
constexpr int BarThickness = 255 / TwipsPerPixel;

// The hourglass for as long as the scope lasts, whatever way it is left.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

qint16 nearest16(double v) {
    return static_cast<qint16>(std::clamp<qint64>(Numbers::roundHalfEven(v), -32768, 32767));
}

} // namespace

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

fomMain::fomMain(SettingsRecord& settings, SettingsFileLink& settingsFile, TextViewLink& textView,
                 QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_settingsFile(settingsFile),
      m_textView(textView) {
    setObjectName(QStringLiteral("fomMain"));
    setWindowTitle(Title);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(m_client);

    m_picBord = new PictureBoxWidget(QStringLiteral("picBord"), m_client);
    m_picPicture = new PictureBoxWidget(QStringLiteral("picPicture"), m_picBord);
    m_picPicture->setFocusPolicy(Qt::StrongFocus);
    m_picPicture->hide();
    for (int i = 0; i < 4; ++i)
        m_picAira[static_cast<size_t>(i)] = new AiraBarWidget(i, m_picPicture);
    m_vscBord = new QScrollBar(Qt::Vertical, m_client);
    m_vscBord->setObjectName(QStringLiteral("vscBord"));
    m_hscBord = new QScrollBar(Qt::Horizontal, m_client);
    m_hscBord->setObjectName(QStringLiteral("hscBord"));
    for (QScrollBar* bar : {m_vscBord, m_hscBord}) {
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }
    m_tray = new CmdTrayWidget(m_settings, m_client);
    m_tray->cmdFontSet()->setEnabled(false); // the font dialog comes with the menu commands
    m_timAriaView = new QTimer(this);
    m_timAriaView->setObjectName(QStringLiteral("timAriaView"));
    m_timAriaView->setInterval(500);

    // The designed layout: client area 6360 x 5100 twips, the tray at the bottom.
    m_client->resize(DesignClientWidth, DesignClientHeight);
    const int borderHeight = DesignClientHeight - m_tray->height() - BarThickness;
    m_picBord->setGeometry(0, 0, DesignClientWidth - BarThickness, borderHeight);
    m_vscBord->setGeometry(m_picBord->width(), 0, BarThickness, borderHeight);
    m_hscBord->setGeometry(0, borderHeight, m_picBord->width(), BarThickness);
    m_tray->move(0, borderHeight + BarThickness);

    buildMenus();
    wire();
    resize(DesignClientWidth, DesignClientHeight + menuBar()->sizeHint().height());
}

fomMain::~fomMain() {
    unhookWheels();
}

void fomMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    m_mnuFileOpen = file->addAction(QStringLiteral("開く(&O)"));
    m_mnuFileOpen->setObjectName(QStringLiteral("mnuFileOpen"));
    m_mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    file->addSeparator();
    m_mnuFileExit = file->addAction(QStringLiteral("終了(&X)"));
    m_mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));

    // The Edit and Help commands come with the menu-command work; until then they show disabled.
    m_mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    const struct {
        const char16_t* text;
        const char* name;
        QKeyCombination key;
    } edits[] = {{u"切り取り(&T)", "mnuEditCut", Qt::CTRL | Qt::Key_X},
                 {u"コピー(&C)", "mnuEditCopy", Qt::CTRL | Qt::Key_C},
                 {u"貼り付け(&P)", "mnuEditPaste", Qt::CTRL | Qt::Key_V}};
    for (const auto& e : edits) {
        QAction* action = m_mnuEdit->addAction(QString::fromUtf16(e.text));
        action->setObjectName(QString::fromLatin1(e.name));
        action->setShortcut(QKeySequence(e.key));
        action->setEnabled(false);
    }
    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* topic = help->addAction(QStringLiteral("Charloom のﾍﾙﾌﾟ(&H)"));
    topic->setObjectName(QStringLiteral("mnuHelpTopic"));
    help->addSeparator();
    m_mnuSetup = help->addAction(QStringLiteral("変換設定(&S)"));
    m_mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    help->addSeparator();
    QAction* version = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    version->setObjectName(QStringLiteral("mnuHelpVersion"));
    for (QAction* later : {topic, m_mnuSetup, version})
        later->setEnabled(false);
}

void fomMain::wire() {
    connect(m_tray->cmdWrite(), &QPushButton::clicked, this, &fomMain::cmdWrite_Click);
    connect(m_tray->cmdRead(), &QPushButton::clicked, this, &fomMain::cmdRead_Click);
    connect(m_tray->cmdExit(), &QPushButton::clicked, this, &fomMain::cmdExit_Click);
    connect(m_tray->cmdSetInit(), &QPushButton::clicked, this, &fomMain::cmdSetInit_Click);
    connect(m_mnuFileOpen, &QAction::triggered, this, &fomMain::mnuFileOpen_Click);
    connect(m_mnuFileExit, &QAction::triggered, this, &fomMain::mnuFileExit_Click);
    connect(m_hscBord, &QScrollBar::valueChanged, this, &fomMain::hscBord_Change);
    connect(m_vscBord, &QScrollBar::valueChanged, this, &fomMain::vscBord_Change);
    connect(m_timAriaView, &QTimer::timeout, this, &fomMain::timAriaView_Timer);
    m_tray->setFontSetHandler([this] { FontSet(); });
    m_tray->picSlider()->setDoubleClickHandler([this] { picSlider_DblClick(); });

    m_picPicture->onMouseDown = [this](QMouseEvent* e) { picPicture_MouseDown(e); };
    m_picPicture->onMouseMove = [this](QMouseEvent* e) { picPicture_MouseMove(e); };
    m_picPicture->onMouseUp = [this](QMouseEvent* e) { picPicture_MouseUp(e); };
    m_picPicture->onKeyDown = [this](QKeyEvent* e) { picPicture_KeyDown(e); };
    const auto drop = [this](const QList<QUrl>& urls) { OLEDragDrop(urls); };
    m_picPicture->onDrop = drop;
    m_picBord->onDrop = drop;
    for (AiraBarWidget* bar : m_picAira) {
        bar->onMouseDown = [this](int i, QMouseEvent* e) { picAira_MouseDown(i, e); };
        bar->onMouseMove = [this](int i, QMouseEvent* e) { picAira_MouseMove(i, e); };
        bar->onMouseUp = [this](int i, QMouseEvent* e) { picAira_MouseUp(i, e); };
        bar->onDrop = drop;
    }
    m_client->installEventFilter(this);
}

// ---- start-up and shutdown ----

bool fomMain::Form_Load() {
    if (const auto message = RuntimeLib::messageFor(RuntimeLib::RuntimeLibInstall())) {
        MessageBoxes::show(this, MessageBoxes::Request{message->text, message->caption,
                                                       message->critical
                                                           ? MessageBoxes::Icon::Critical
                                                           : MessageBoxes::Icon::Exclamation,
                                                       QMessageBox::Ok, QMessageBox::Ok});
        return false;
    }
    hookWheels();
    m_picFileName.clear();
    m_settingsPath = m_settingsFile.SettingsPath();
    m_settingsFile.IniRead(m_settingsPath, m_settings);
    restorePlacement();
    SetToCtrl();
    m_vscBord->setSingleStep(ScrollSmallStep);
    m_hscBord->setSingleStep(ScrollSmallStep);
    LevelSliderWidget* slider = m_tray->picSlider();
    slider->SliderInit();
    if (m_settings.Low >= 0)
        slider->placeStored(m_settings.Low, m_settings.High);
    m_tray->clearFocusFlags();
    return true;
}

void fomMain::restorePlacement() {
    const WindowPlacement& p = m_settings.MainWindow;
    if (p.Width > 0) {
        setGeometry(p.Left / TwipsPerPixel, p.Top / TwipsPerPixel, p.Width / TwipsPerPixel,
                    p.Height / TwipsPerPixel);
        if (p.State == 2)
            setWindowState(Qt::WindowMaximized);
        else if (p.State == 1)
            setWindowState(Qt::WindowMinimized);
        return;
    }
    if (QScreen* s = screen()) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void fomMain::Form_Activate() {
    if (m_activatedOnce)
        return;
    m_activatedOnce = true;
    if (m_commandLine.isEmpty())
        return;
    repaint();
    m_picFileName = CommandLine::unquote(m_commandLine);
    if (!FileTests::IsFile(m_picFileName))
        return;
    if (CommandLine::isTextFile(m_picFileName)) {
        m_textView.Read(m_picFileName);
        m_picFileName.clear();
    } else {
        PicLoad(m_picFileName);
    }
}

void fomMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void fomMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager a window may never become active; the first show counts then.
    QTimer::singleShot(0, this, &fomMain::Form_Activate);
}

void fomMain::bringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void fomMain::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    const UnloadMode mode = m_closeBySystem ? UnloadMode::System : UnloadMode::User;
    m_closeBySystem = false;
    Form_QueryUnload(cancel, mode);
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
    emit unloaded();
}

void fomMain::Form_QueryUnload(bool& cancel, UnloadMode mode) {
    if (Busy()) {
        if (mode == UnloadMode::User) {
            if (MessageBoxes::okCancel(this,
                                       QStringLiteral("ただいま変換作業中です。中断しますか？")))
                m_run.requestAbort();
        } else {
            // The run's handler is still on the stack: stop the run and close once it ends.
            m_run.requestAbort();
            m_closeAfterRun = true;
        }
        cancel = true;
        return;
    }
    unhookWheels();
}

void fomMain::Form_Unload() {
    m_textView.unload();
    recordPlacement();
    CtrlToSet();
    m_settingsFile.IniWrite(m_settingsPath, m_settings);
}

void fomMain::recordPlacement() {
    WindowPlacement& p = m_settings.MainWindow;
    const Qt::WindowStates state = windowState();
    p.State = state.testFlag(Qt::WindowMinimized) ? 1 : state.testFlag(Qt::WindowMaximized) ? 2 : 0;
    // The normal placement, also of a maximised or minimised window.
    const QRect r = p.State == 0 ? geometry() : normalGeometry();
    p.Left = r.x() * TwipsPerPixel;
    p.Top = r.y() * TwipsPerPixel;
    p.Width = r.width() * TwipsPerPixel;
    p.Height = r.height() * TwipsPerPixel;
}

void fomMain::systemClose() {
    m_closeBySystem = true;
    close();
    m_closeBySystem = false;
}

void fomMain::cmdExit_Click() {
    close();
}

void fomMain::mnuFileExit_Click() {
    close();
}

void fomMain::hookWheels() {
    WheelForwarding::SubClassV(m_picBord, m_vscBord);
    WheelForwarding::SubClassV(m_picPicture, m_vscBord);
    WheelForwarding::SubClassV(m_vscBord, m_vscBord);
    WheelForwarding::SubClassH(m_hscBord, m_hscBord);
}

void fomMain::unhookWheels() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_picBord, m_picPicture, m_vscBord, m_hscBord})
        WheelForwarding::UnSubClass(w);
}

// ---- the picture ----

void fomMain::mnuFileOpen_Click() {
    PicOpen();
}

void fomMain::cmdRead_Click() {
    PicOpen();
}

void fomMain::PicOpen() {
    m_comDlg.Filter = QStringLiteral("画像ﾌｧｲﾙ(bmp,jpg,gif,ico)|*.bmp;*.dib;*.jpg;*.jpeg;*.gif;"
                                     "*.giff;*.ico|全てのﾌｧｲﾙ(*.*)|*.*");
    m_comDlg.OwnerhWnd = this;
    m_comDlg.Flags = clsComDlg::OpenFlags;
    m_comDlg.DialogTitle = QStringLiteral("入力ﾌｧｲﾙの選択");
    m_comDlg.FileName = m_picFileName;
    m_comDlg.FilterIndex = 1;
    m_comDlg.setAction(1);
    if (m_comDlg.FileName.isEmpty())
        return;
    m_picFileName = m_comDlg.FileName;
    PicLoad(m_picFileName);
}

void fomMain::PicLoad(const QString& path) {
    if (!path.isEmpty()) {
        PictureLoader::Result loaded;
        {
            BusyCursor busy;
            loaded = PictureLoader::load(path);
        }
        if (!loaded.ok()) {
            MessageBoxes::ok(this, loaded.message);
            return;
        }
        m_picPicture->setImage(loaded.image);
        m_picPicture->resize(loaded.image.size());
        setWindowTitle(PathHelpers::PathFile(path) + QStringLiteral(" - ") + Title);
    } else {
        m_picPicture->setImage(QImage());
        setWindowTitle(Title);
    }
    m_selection.setPictureSize(m_picPicture->image().size());
    ScrSet();
    AiraSet(0, 0, 0);
    m_textView.detachFile();
}

void fomMain::OLEDragDrop(const QList<QUrl>& urls) {
    // Drops without a local file are ignored rather than reloading the current picture.
    if (urls.isEmpty() || urls.first().toLocalFile().isEmpty())
        return;
    m_picFileName = urls.first().toLocalFile();
    PicLoad(m_picFileName);
}

void fomMain::ScrSet() {
    if (m_picPicture->hasPicture()) {
        m_picPicture->show();
    } else {
        m_picPicture->resize(0, 0);
        m_picPicture->hide();
    }
    const auto fit = [](QScrollBar* bar, int picture, int view) {
        if (picture > view) {
            bar->setPageStep(view);
            const int m = picture - view;
            if (bar->value() > m)
                bar->setValue(m);
            bar->setMaximum(m);
            bar->setEnabled(true);
        } else if (bar->isEnabled()) {
            bar->setValue(0);
            bar->setMaximum(0);
            bar->setEnabled(false);
        }
    };
    fit(m_vscBord, m_picPicture->height(), m_picBord->height());
    fit(m_hscBord, m_picPicture->width(), m_picBord->width());
}

void fomMain::hscBord_Change(int value) {
    m_picPicture->move(-value, m_picPicture->y());
}

void fomMain::vscBord_Change(int value) {
    m_picPicture->move(m_picPicture->x(), -value);
}

void fomMain::picPicture_KeyDown(QKeyEvent* event) {
    const auto step = [](QScrollBar* bar, int direction) {
        const qint64 v = static_cast<qint64>(bar->value()) + direction * bar->pageStep();
        bar->setValue(static_cast<int>(std::clamp<qint64>(v, bar->minimum(), bar->maximum())));
    };
    switch (event->key()) {
    case Qt::Key_Up:
        step(m_vscBord, -1);
        break;
    case Qt::Key_Down:
        step(m_vscBord, 1);
        break;
    case Qt::Key_Left:
        step(m_hscBord, -1);
        break;
    case Qt::Key_Right:
        step(m_hscBord, 1);
        break;
    default:
        event->ignore();
    }
}

void fomMain::Form_Resize() {
    const int sw = m_client->width();
    const int sh = m_client->height();
    if (m_tray->height() + m_hscBord->height() < sh) {
        m_picBord->setGeometry(0, 0, m_picBord->width(),
                               sh - m_tray->height() - m_hscBord->height());
        m_hscBord->move(0, m_picBord->height());
        m_vscBord->setGeometry(m_vscBord->x(), 0, m_vscBord->width(), m_picBord->height());
        m_tray->move(0, m_hscBord->y() + m_hscBord->height());
    }
    int width = -1;
    if (sw >= m_tray->width())
        width = sw - m_vscBord->width();
    else if (m_tray->width() - m_vscBord->width() > m_picBord->width())
        width = m_tray->width() - m_vscBord->width();
    if (width >= 0) {
        m_picBord->setGeometry(0, 0, width, m_picBord->height());
        m_hscBord->setGeometry(0, m_hscBord->y(), width, m_hscBord->height());
        m_vscBord->move(width, 0);
    }
    ScrSet();
}

bool fomMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

// ---- the selection rectangle ----

void fomMain::AiraSet(qint16 x, qint16 y, int button) {
    m_selection.AiraSet(x, y, button);
    syncBars();
}

void fomMain::syncBars() {
    const bool visible = m_selection.barsVisible();
    for (size_t i = 0; i < 4; ++i)
        m_picAira[i]->setGeometry(m_selection.bars()[i]);
    if (m_picAira[0]->isHidden() == visible)
        for (AiraBarWidget* bar : m_picAira)
            bar->setVisible(visible);
    if (m_selection.timerEnabled() && !m_timAriaView->isActive())
        m_timAriaView->start();
    else if (!m_selection.timerEnabled())
        m_timAriaView->stop();
}

void fomMain::AutoScroll(qint32 x, qint32 y) {
    bool scrolled = false;
    const auto scroll = [&scrolled](QScrollBar* bar, qint32 p, qint32 view) {
        const qint32 step = SelectionModel::autoScrollStep(p, view);
        if (step == 0)
            return;
        const qint64 v = static_cast<qint64>(bar->value()) + step;
        bar->setValue(static_cast<int>(std::clamp<qint64>(v, bar->minimum(), bar->maximum())));
        scrolled = true;
    };
    scroll(m_vscBord, y + m_picPicture->y(), m_picBord->height());
    scroll(m_hscBord, x + m_picPicture->x(), m_picBord->width());
    if (scrolled)
        repaint();
}

void fomMain::picPicture_MouseDown(QMouseEvent* event) {
    const qint16 x = nearest16(event->position().x());
    const qint16 y = nearest16(event->position().y());
    m_selection.pictureDown(x, y, event->button());
    syncBars();
}

void fomMain::picPicture_MouseMove(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton)
        return;
    const qint16 x = nearest16(event->position().x());
    const qint16 y = nearest16(event->position().y());
    AutoScroll(x, y);
    m_selection.pictureMove(x, y, event->buttons());
    syncBars();
}

void fomMain::picPicture_MouseUp(QMouseEvent* event) {
    const qint16 x = nearest16(event->position().x());
    const qint16 y = nearest16(event->position().y());
    AutoScroll(x, y);
    m_selection.pictureUp(x, y, event->button());
    syncBars();
}

void fomMain::picAira_MouseDown(int index, QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_selection.barDown(index, nearest16(event->position().x()), nearest16(event->position().y()));
    m_picAira[static_cast<size_t>(index)]->raise();
}

void fomMain::picAira_MouseMove(int index, QMouseEvent* event) {
    if (event->buttons() != Qt::LeftButton)
        return;
    const AiraBarWidget* bar = m_picAira[static_cast<size_t>(index)];
    const qint16 x = nearest16(event->position().x());
    const qint16 y = nearest16(event->position().y());
    AutoScroll(bar->x() + x, bar->y() + y);
    m_selection.barPull(index, x, y);
    syncBars();
}

void fomMain::picAira_MouseUp(int index, QMouseEvent* event) {
    // The release of the left button pulls like a move.
    if (event->button() != Qt::LeftButton)
        return;
    const AiraBarWidget* bar = m_picAira[static_cast<size_t>(index)];
    const qint16 x = nearest16(event->position().x());
    const qint16 y = nearest16(event->position().y());
    AutoScroll(bar->x() + x, bar->y() + y);
    m_selection.barPull(index, x, y);
    syncBars();
}

void fomMain::timAriaView_Timer() {
    const bool highlight = !m_picAira[0]->highlighted();
    for (AiraBarWidget* bar : m_picAira)
        bar->setHighlighted(highlight);
}

// ---- the conversion controls ----

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
    // The conversion settings dialog comes with the menu-command work: it stays disabled.
    m_mnuSetup->setEnabled(false);
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
