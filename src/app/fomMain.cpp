#include "app/fomMain.h"

#include "app/CommandLine.h"
#include "app/RuntimeLib.h"
#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"
#include "platform/WheelForwarding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>

namespace {

constexpr int TwipsPerPixel = 15;
constexpr int BarThickness = 255 / TwipsPerPixel;

} // namespace

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

    m_mnuEdit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuEditCut = m_mnuEdit->addAction(QStringLiteral("切り取り(&T)"));
    m_mnuEditCut->setObjectName(QStringLiteral("mnuEditCut"));
    m_mnuEditCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    m_mnuEditCopy = m_mnuEdit->addAction(QStringLiteral("コピー(&C)"));
    m_mnuEditCopy->setObjectName(QStringLiteral("mnuEditCopy"));
    m_mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_mnuEditPaste = m_mnuEdit->addAction(QStringLiteral("貼り付け(&P)"));
    m_mnuEditPaste->setObjectName(QStringLiteral("mnuEditPaste"));
    m_mnuEditPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_mnuHelpTopic = help->addAction(QStringLiteral("Charloom のﾍﾙﾌﾟ(&H)"));
    m_mnuHelpTopic->setObjectName(QStringLiteral("mnuHelpTopic"));
    help->addSeparator();
    m_mnuSetup = help->addAction(QStringLiteral("変換設定(&S)"));
    m_mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    help->addSeparator();
    m_mnuHelpVersion = help->addAction(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    m_mnuHelpVersion->setObjectName(QStringLiteral("mnuHelpVersion"));
}

void fomMain::wire() {
    connect(m_tray->cmdWrite(), &QPushButton::clicked, this, &fomMain::cmdWrite_Click);
    connect(m_tray->cmdRead(), &QPushButton::clicked, this, &fomMain::cmdRead_Click);
    connect(m_tray->cmdExit(), &QPushButton::clicked, this, &fomMain::cmdExit_Click);
    connect(m_tray->cmdSetInit(), &QPushButton::clicked, this, &fomMain::cmdSetInit_Click);
    connect(m_mnuFileOpen, &QAction::triggered, this, &fomMain::mnuFileOpen_Click);
    connect(m_mnuFileExit, &QAction::triggered, this, &fomMain::mnuFileExit_Click);
    connect(m_mnuEditCut, &QAction::triggered, this, &fomMain::mnuEditCut_Click);
    connect(m_mnuEditCopy, &QAction::triggered, this, &fomMain::mnuEditCopy_Click);
    connect(m_mnuEditPaste, &QAction::triggered, this, &fomMain::mnuEditPaste_Click);
    connect(m_mnuHelpTopic, &QAction::triggered, this, &fomMain::mnuHelpTopic_Click);
    connect(m_mnuSetup, &QAction::triggered, this, &fomMain::mnuSetup_Click);
    connect(m_mnuHelpVersion, &QAction::triggered, this, &fomMain::mnuHelpVersion_Click);
    connect(m_tray->cmdFontSet(), &QPushButton::clicked, this, &fomMain::cmdFontSet_Click);
    // The two boxes would take Ctrl+X, Ctrl+C and Ctrl+V for themselves; the Edit menu decides.
    m_tray->txtTxtTbl()->installEventFilter(this);
    m_tray->txtLines()->installEventFilter(this);
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
