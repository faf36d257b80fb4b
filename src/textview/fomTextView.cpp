#include "textview/fomTextView.h"

#include "convert/FontSetup.h"
#include "platform/WheelForwarding.h"
#include "platform/clsComDlg.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>

static constexpr int TwipsPerPixel = 15;

static QString designCaption() {
    return QStringLiteral("Text View");
}

QSize fomTextView::designSize() {
    return QSize(640, 500);
}

fomTextView::fomTextView(SettingsRecord& settings, const SelectionPictureProvider& pictures,
                         clsComDlg& comDlg, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_pictures(pictures), m_comDlg(comDlg) {
    setObjectName(QStringLiteral("fomTextView"));
    setWindowTitle(designCaption());
    resize(designSize());
    createControls();
    createMenus();
    wireControls();
}

void fomTextView::createControls() {
    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_picView = new QFrame(m_client);
    m_picView->setObjectName(QStringLiteral("picView"));
    m_picView->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picView->setLineWidth(2);
    m_picView->setFocusPolicy(Qt::StrongFocus);
    m_picView->setAcceptDrops(true);
    m_picCopyBuf = new QWidget(m_picView);
    m_picCopyBuf->setObjectName(QStringLiteral("picCopyBuf"));
    m_picCopyBuf->setAttribute(Qt::WA_OpaquePaintEvent);
    m_picCopyBuf->setFocusPolicy(Qt::ClickFocus);
    m_picCopyBuf->setAcceptDrops(true);
    m_picCopyBuf->hide();
    m_vscView = new QScrollBar(Qt::Vertical, m_client);
    m_vscView->setObjectName(QStringLiteral("vscView"));
    m_hscView = new QScrollBar(Qt::Horizontal, m_client);
    m_hscView->setObjectName(QStringLiteral("hscView"));
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (QScrollBar* bar : {m_vscView, m_hscView}) {
        bar->setRange(0, 0);
        bar->setSingleStep(16);
        bar->setPageStep(32);
        bar->resize(extent, extent);
    }
}

QAction* fomTextView::addItem(QMenu* menu, const char* name, const QString& caption,
                              const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void fomTextView::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, "mnuFileOpen", QStringLiteral("開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O));
    addItem(file, "mnuFileSave", QStringLiteral("上書き保存(&S)"),
            QKeySequence(Qt::CTRL | Qt::Key_S));
    addItem(file, "mnuFileSaveas", QStringLiteral("名前を付けて保存(&A)"), QKeySequence());
    file->addSeparator()->setObjectName(QStringLiteral("mnuFilePart"));
    addItem(file, "mnuFileExit", QStringLiteral("閉じる(&X)"), QKeySequence());

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    addItem(edit, "mnuEditCut", QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    addItem(edit, "mnuEditCopy", QStringLiteral("ｺﾋﾟｰ(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addItem(edit, "mnuEditPaste", QStringLiteral("貼り付け(&P)"),
            QKeySequence(Qt::CTRL | Qt::Key_V));
    addItem(edit, "mnuEditPicCopy", QStringLiteral("画像形式でｺﾋﾟｰ"), QKeySequence());
    edit->addSeparator()->setObjectName(QStringLiteral("mnuPart1"));
    addItem(edit, "mnuEditResize", QStringLiteral("余白除去(&D)"),
            QKeySequence(Qt::CTRL | Qt::Key_D));
    edit->addSeparator()->setObjectName(QStringLiteral("mnuPart2"));
    m_mnuEditFont =
        addItem(edit, "mnuEditFont", QStringLiteral("ﾌｫﾝﾄの設定(&F)..."), QKeySequence());
    m_mnuEditColor =
        addItem(edit, "mnuEditColor", QStringLiteral("色の設定(&L)..."), QKeySequence());
}

void fomTextView::wireControls() {
    using Handler = void (fomTextView::*)();
    const std::pair<const char*, Handler> items[] = {
        {"mnuFileOpen", &fomTextView::mnuFileOpen_Click},
        {"mnuFileSave", &fomTextView::mnuFileSave_Click},
        {"mnuFileSaveas", &fomTextView::mnuFileSaveas_Click},
        {"mnuFileExit", &fomTextView::mnuFileExit_Click},
        {"mnuEditCut", &fomTextView::mnuEditCut_Click},
        {"mnuEditCopy", &fomTextView::mnuEditCopy_Click},
        {"mnuEditPaste", &fomTextView::mnuEditPaste_Click},
        {"mnuEditPicCopy", &fomTextView::mnuEditPicCopy_Click},
        {"mnuEditResize", &fomTextView::mnuEditResize_Click},
        {"mnuEditFont", &fomTextView::mnuEditFont_Click},
        {"mnuEditColor", &fomTextView::mnuEditColor_Click},
    };
    for (const auto& [name, handler] : items)
        connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    connect(m_hscView, &QScrollBar::valueChanged, this, &fomTextView::hscView_Change);
    connect(m_vscView, &QScrollBar::valueChanged, this, &fomTextView::vscView_Change);
    for (QObject* watched : {static_cast<QObject*>(m_client), static_cast<QObject*>(m_picView),
                             static_cast<QObject*>(m_picCopyBuf)})
        watched->installEventFilter(this);
}

bool fomTextView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_client && type == QEvent::Resize) {
        Form_Resize();
        return false;
    }
    if (watched != m_picView && watched != m_picCopyBuf)
        return false;
    switch (type) {
    case QEvent::Paint:
        if (watched != m_picCopyBuf)
            return false;
        picCopyBuf_Paint();
        return true;
    case QEvent::Wheel:
        // The wheel hook has moved vscView already; an unused wheel event would travel on from
        // picCopyBuf to picView, which is hooked too, and move the bar a second time.
        return true;
    case QEvent::KeyPress:
        // A key that scrolls is used up here, so it does not reach picView a second time.
        return picView_KeyDown(static_cast<QKeyEvent*>(event));
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool down = type == QEvent::MouseButtonRelease || mouse->buttons() != Qt::NoButton;
        if (watched == m_picCopyBuf && down) {
            const QPointF p = mouse->position();
            DragScroll(qRound(p.x()), qRound(p.y()));
        }
        return false;
    }
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop:
        picCopyBuf_OLEDragDrop(static_cast<QDropEvent*>(event)->mimeData());
        static_cast<QDropEvent*>(event)->acceptProposedAction();
        return true;
    default:
        return false;
    }
}

void fomTextView::ensureLoaded() {
    if (!m_loaded)
        Form_Load();
}

void fomTextView::showAndRepaint() {
    ensureLoaded();
    show();
    raise();
    repaint();
}

void fomTextView::View(const QString& text) {
    showAndRepaint();
    m_textBuf = text;
    TxtToPic(m_textBuf);
    ScrSet();
}

void fomTextView::Read(const QString& path) {
    showAndRepaint();
    m_textFileName = path;
    if (TextFileRead(m_textFileName))
        relayout();
}

void fomTextView::relayout() {
    TxtToPic(m_textBuf);
    ScrSet();
}

void fomTextView::detachFile() {
    m_textFileName.clear();
    setWindowTitle(designCaption());
}

void fomTextView::setAppearanceMenusEnabled(bool enabled) {
    m_mnuEditFont->setEnabled(enabled);
    m_mnuEditColor->setEnabled(enabled);
}

void fomTextView::Form_Load() {
    m_loaded = true;
    WheelForwarding::SubClassV(m_picView, m_vscView);
    WheelForwarding::SubClassV(m_picCopyBuf, m_vscView);
    WheelForwarding::SubClassV(m_vscView, m_vscView);
    WheelForwarding::SubClassH(m_hscView, m_hscView);
    restorePlacement();
    FontSet();
    ColorSet();
}

void fomTextView::restorePlacement() {
    const WindowPlacement& p = m_settings.TextWindow;
    if (p.Width < 1) {
        resize(designSize());
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect s = screen->geometry();
            move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
        }
        return;
    }
    setWindowState(Qt::WindowNoState);
    setGeometry(p.Left / TwipsPerPixel, p.Top / TwipsPerPixel, p.Width / TwipsPerPixel,
                std::max(p.Height / TwipsPerPixel, 1));
    if (p.State == 2)
        setWindowState(Qt::WindowMaximized);
    else if (p.State == 1)
        setWindowState(Qt::WindowMinimized);
}

void fomTextView::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QMainWindow::closeEvent(event);
}

void fomTextView::mnuFileExit_Click() {
    close();
}

void fomTextView::Form_Unload() {
    if (!m_loaded)
        return;
    m_loaded = false;
    for (QWidget* hooked : {static_cast<QWidget*>(m_picView), m_picCopyBuf,
                            static_cast<QWidget*>(m_vscView), static_cast<QWidget*>(m_hscView)})
        WheelForwarding::UnSubClass(hooked);
    recordPlacement();
}

// The normal-state rectangle is kept in twips, so a maximised window reopens maximised over the
// rectangle it had before.
void fomTextView::recordPlacement() {
    WindowPlacement& p = m_settings.TextWindow;
    const Qt::WindowStates state = windowState();
    p.State = state.testFlag(Qt::WindowMinimized) ? 1 : state.testFlag(Qt::WindowMaximized) ? 2 : 0;
    const QRect normal =
        (p.State == 0 || !normalGeometry().isValid()) ? geometry() : normalGeometry();
    p.Left = normal.x() * TwipsPerPixel;
    p.Top = normal.y() * TwipsPerPixel;
    p.Width = normal.width() * TwipsPerPixel;
    p.Height = normal.height() * TwipsPerPixel;
}

void fomTextView::FontSet() {
    m_layout.setFont(FontSetup::textFont(m_settings));
    m_widthCache.clear();
}

void fomTextView::ColorSet() {
    m_colors = {m_settings.ForeColor, m_settings.BackColor};
    m_picCopyBuf->update();
}

void fomTextView::TxtToPic(const QString& text) {
    m_layout.TxtToPic(text, m_settings.LineSpace);
}
