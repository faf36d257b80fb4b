#include "textview/fomTextView.h"

#include "textview/BinCheck.h"
#include "textview/MarginRemoval.h"
#include "textview/TextFiles.h"

#include "convert/FontSetup.h"
#include "platform/Cp932.h"
#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"
#include "platform/PathHelpers.h"
#include "platform/SafeFileWriter.h"
#include "platform/WheelForwarding.h"
#include "platform/clsComDlg.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
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

QRect fomTextView::viewport() const {
    return m_picView->contentsRect();
}

void fomTextView::Form_Resize() {
    const QSize inner = m_client->size();
    if (inner.width() > m_vscView->width()) {
        m_picView->setGeometry(0, 0, inner.width() - m_vscView->width(), m_picView->height());
        m_vscView->move(m_picView->width(), 0);
        m_hscView->setGeometry(0, m_picView->height(), m_picView->width(), m_hscView->height());
    }
    if (inner.height() > m_hscView->height()) {
        m_picView->setGeometry(0, 0, m_picView->width(), inner.height() - m_hscView->height());
        m_vscView->setGeometry(m_picView->width(), 0, m_vscView->width(), m_picView->height());
        m_hscView->move(0, m_picView->height());
    }
    ScrSet();
}

// One bar from the text extent along it and the viewport's size along it.
static void setBar(QScrollBar* bar, qint32 extent, qint32 shown) {
    const qint32 visible = std::max(shown, 0);
    if (visible >= extent) {
        if (bar->isEnabled()) {
            bar->setValue(0);
            bar->setMaximum(0);
            bar->setEnabled(false);
        }
        return;
    }
    bar->setPageStep(visible);
    const qint32 m = extent - visible;
    if (m < bar->value())
        bar->setValue(m);
    bar->setMaximum(m);
    bar->setEnabled(true);
}

void fomTextView::ScrSet() {
    const QRect inner = viewport();
    setBar(m_vscView, m_layout.TxtHeight(), inner.height());
    setBar(m_hscView, m_layout.TxtWidth(), inner.width());
    PicDraw();
}

void fomTextView::hscView_Change(int value) {
    m_scrX = value;
    PicDraw();
}

void fomTextView::vscView_Change(int value) {
    m_scrY = value;
    PicDraw();
}

void fomTextView::PicDraw() {
    if (m_drawing)
        return;
    m_drawing = true;
    const QRect inner = viewport();
    if (m_layout.LaidText().isEmpty()) {
        m_picCopyBuf->hide();
        m_drawing = false;
        return;
    }
    if (m_picCopyBuf->isHidden())
        m_picCopyBuf->show();
    const qint32 pitch = std::max(m_layout.LinePitch(), 1);
    m_visible = LinePrinting::visibleLines(m_scrY, pitch, inner.height());
    if (m_layout.TxtWidth() < m_scrX)
        m_scrX = m_layout.TxtWidth() - inner.width();
    if (m_layout.TxtHeight() < m_scrY)
        m_scrY = m_layout.TxtHeight() - inner.height();
    m_scrX = std::max(m_scrX, 0);
    m_scrY = std::max(m_scrY, 0);
    const qint64 rest = static_cast<qint64>(m_layout.LineCount()) - m_visible.first;
    const qint64 height = m_visible.count < rest ? inner.height() : rest * pitch;
    const qint32 widthLeft = m_layout.TxtWidth() - m_scrX;
    const qint32 width = inner.width() > widthLeft ? widthLeft : inner.width();
    m_picCopyBuf->setGeometry(inner.x(), inner.y(), std::max(width, 0),
                              static_cast<int>(std::clamp<qint64>(height, 0, inner.height())));
    m_picCopyBuf->update();
    m_drawing = false;
}

void fomTextView::picCopyBuf_Paint() {
    // The work bitmap has the screen's pixels, so that a scaled screen shows sharp text; the
    // layout and the drawing stay in the text's own pixels.
    const qreal ratio = m_picCopyBuf->devicePixelRatioF();
    QImage box(m_picCopyBuf->size() * ratio, QImage::Format_RGB32);
    if (box.isNull())
        return;
    box.setDevicePixelRatio(ratio);
    const QRect inner = viewport();
    const TextRendering::Viewport view{m_scrX, m_scrY, inner.width(), inner.height()};
    TextRendering::drawVisible(box, m_layout, m_widthCache, m_visible, view, m_colors,
                               m_pictures.selectionPicture());
    QPainter painter(m_picCopyBuf);
    painter.drawImage(0, 0, box);
}

qint32 fomTextView::PicDrawAll(QImage& result) {
    return TextRendering::PicDrawAll(m_layout, m_widthCache, m_colors,
                                     m_pictures.selectionPicture(), result);
}

// Page Up and Page Down move by the viewport's height, the arrows by the bars' large change.
bool fomTextView::picView_KeyDown(const QKeyEvent* event) {
    QScrollBar* bar = nullptr;
    qint64 delta = 0;
    switch (event->key()) {
    case Qt::Key_PageUp:
        bar = m_vscView;
        delta = -static_cast<qint64>(viewport().height());
        break;
    case Qt::Key_PageDown:
        bar = m_vscView;
        delta = viewport().height();
        break;
    case Qt::Key_Up:
        bar = m_vscView;
        delta = -static_cast<qint64>(m_vscView->pageStep());
        break;
    case Qt::Key_Down:
        bar = m_vscView;
        delta = m_vscView->pageStep();
        break;
    case Qt::Key_Left:
        bar = m_hscView;
        delta = -static_cast<qint64>(m_hscView->pageStep());
        break;
    case Qt::Key_Right:
        bar = m_hscView;
        delta = m_hscView->pageStep();
        break;
    default:
        return false;
    }
    bar->setValue(
        static_cast<int>(std::clamp<qint64>(bar->value() + delta, bar->minimum(), bar->maximum())));
    return true;
}

// Dragging past an edge of the viewport scrolls by a fifth of the distance, rounded up.
static bool dragBar(QScrollBar* bar, int position, int visible) {
    int step = 0;
    if (position < 0)
        step = PathHelpers::CeilDiv(position, 5);
    else if (position > visible)
        step = PathHelpers::CeilDiv(position - visible, 5);
    if (step == 0)
        return false;
    bar->setValue(static_cast<int>(std::clamp<qint64>(static_cast<qint64>(bar->value()) + step,
                                                      bar->minimum(), bar->maximum())));
    return true;
}

void fomTextView::DragScroll(int x, int y) {
    const QRect inner = viewport();
    const QPoint box = m_picCopyBuf->pos() - inner.topLeft();
    const bool vertical = dragBar(m_vscView, box.y() + y, inner.height());
    const bool horizontal = dragBar(m_hscView, box.x() + x, inner.width());
    if (vertical || horizontal)
        m_picCopyBuf->repaint();
}

void fomTextView::picCopyBuf_OLEDragDrop(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    const auto file =
        std::find_if(urls.cbegin(), urls.cend(), [](const QUrl& url) { return url.isLocalFile(); });
    if (file != urls.cend())
        m_textFileName = file->toLocalFile();
    if (TextFileRead(m_textFileName))
        relayout();
}

void fomTextView::mnuEditCut_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_textBuf);
    m_textBuf.clear();
    relayout();
}

void fomTextView::mnuEditCopy_Click() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_textBuf);
}

// Text from other programs on this desktop ends its lines with LF alone; the view breaks lines
// at CR LF, so such line ends are made CR LF.
static QString withCrLf(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            result += u'\r';
        result += text[i];
    }
    return result;
}

void fomTextView::mnuEditPaste_Click() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return;
    m_textBuf = withCrLf(data->text());
    relayout();
}

void fomTextView::mnuEditResize_Click() {
    m_textBuf = RemoveMargins(m_textBuf);
    relayout();
}

void fomTextView::mnuEditPicCopy_Click() {
    QImage picture;
    const qint32 r = PicDrawAll(picture);
    if (r == -1) {
        MessageBoxes::ok(this, QStringLiteral("メモリ不足のため、画像形式のコピーはできません。"),
                         MessageBoxes::Icon::Exclamation);
        return;
    }
    if (r != 0) {
        MessageBoxes::ok(this, QStringLiteral("画像形式のコピーはできません"),
                         MessageBoxes::Icon::Exclamation);
        return;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

void fomTextView::mnuEditFont_Click() {
    if (m_fontDialog)
        m_fontDialog(this, m_settings);
    FontSet();
    TxtToPic(m_textBuf);
    ScrSet();
    emit fontChanged();
}

void fomTextView::mnuEditColor_Click() {
    if (m_colorDialog)
        m_colorDialog(this, m_settings);
    ColorSet();
    PicDraw();
}

// Text and bitmap files.

static QString openFilter() {
    return QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*");
}

static QString saveFilter() {
    return QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|画像ﾌｧｲﾙ(bmp)|*.bmp|全てのﾌｧｲﾙ(*.*)|*.*");
}

static QString lastFourLower(const QString& path) {
    return path.right(4).toLower();
}

void fomTextView::setFileCaption(const QString& path) {
    setWindowTitle(PathHelpers::PathFile(path) + QStringLiteral(" - Text View"));
}

bool fomTextView::TextFileRead(const QString& path) {
    const TextFiles::ReadResult read = TextFiles::readBytes(path);
    if (read.status == TextFiles::ReadStatus::NotFound) {
        MessageBoxes::ok(this, m_textFileName + QStringLiteral(" ファイルは存在しません。"),
                         MessageBoxes::Icon::Exclamation);
        return false;
    }
    if (read.status != TextFiles::ReadStatus::Ok) {
        MessageBoxes::ok(this, path + QStringLiteral("の読み込みに失敗しました。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    if (BinCheck(read.bytes) &&
        !MessageBoxes::yesNoDefaultNo(
            this, path + QStringLiteral(" はバイナリデータが含まれています。強行しますか？")))
        return false;
    m_textBuf = TextFiles::decode(read.bytes);
    setFileCaption(path);
    return true;
}

void fomTextView::TextFileOpen() {
    m_comDlg.Filter = openFilter();
    m_comDlg.OwnerhWnd = this;
    m_comDlg.Flags = clsComDlg::OpenFlags;
    m_comDlg.DialogTitle = QStringLiteral("入力ﾌｧｲﾙの選択");
    m_comDlg.FileName = m_textFileName;
    m_comDlg.FilterIndex = 1;
    m_comDlg.setAction(1);
    if (m_comDlg.FileName.isEmpty())
        return;
    m_textFileName = m_comDlg.FileName;
    if (TextFileRead(m_textFileName))
        relayout();
}

void fomTextView::mnuFileOpen_Click() {
    TextFileOpen();
}

void fomTextView::mnuFileSave_Click() {
    if (m_textFileName.isEmpty())
        mnuFileSaveas_Click();
    else
        TextFileSave(m_textFileName);
}

void fomTextView::mnuFileSaveas_Click() {
    m_comDlg.Filter = saveFilter();
    m_comDlg.OwnerhWnd = this;
    m_comDlg.Flags = clsComDlg::SaveFlags;
    m_comDlg.DialogTitle = QStringLiteral("出力ﾌｧｲﾙの選択");
    m_comDlg.FileName = m_textFileName;
    if (!m_textFileName.isEmpty()) {
        const QString e = lastFourLower(m_textFileName);
        m_comDlg.FilterIndex = e == QStringLiteral(".txt")   ? 1
                               : e == QStringLiteral(".bmp") ? 2
                                                             : 3;
    } else {
        const QString picture = m_pictures.pictureFileName();
        m_comDlg.FileName =
            picture.isEmpty() ? QStringLiteral("無題") : PathHelpers::PathNoExt(picture);
        m_comDlg.FilterIndex = 1;
    }
    m_comDlg.setAction(2);
    if (m_comDlg.FileName.isEmpty())
        return;
    m_textFileName = m_comDlg.FileName;
    const QString wanted =
        m_comDlg.FilterIndex == 2 ? QStringLiteral(".bmp") : QStringLiteral(".txt");
    if (lastFourLower(m_textFileName) != wanted)
        m_textFileName += wanted;
    TextFileSave(m_textFileName);
}

// The old file is replaced only by a complete new one: nothing is deleted before the new
// contents are written in full.
void fomTextView::TextFileSave(const QString& path) {
    if (FileTests::PathExists(path) &&
        !MessageBoxes::yesNoDefaultNo(this, m_textFileName +
                                                QStringLiteral(" ファイルは既に存在します。\r\n"
                                                               "上書きしますか？")))
        return;
    const bool written = TextFiles::isBitmapPath(path) ? writeBitmap(path) : writeText(path);
    if (written)
        setFileCaption(path);
}

// False only when the file could not be written: a text that cannot be rendered is reported, and
// the caption still names the path, as after any completed save step.
bool fomTextView::writeBitmap(const QString& path) {
    QImage picture;
    const qint32 r = PicDrawAll(picture);
    if (r == -1) {
        MessageBoxes::ok(this, QStringLiteral("メモリ不足のため、画像形式のコピーはできません。"),
                         MessageBoxes::Icon::Exclamation);
        return true;
    }
    if (r != 0) {
        MessageBoxes::ok(this, QStringLiteral("画像形式のコピーはできません"),
                         MessageBoxes::Icon::Exclamation);
        return true;
    }
    const QByteArray bytes = TextFiles::bitmapBytes(picture);
    if (bytes.isEmpty() || !SafeFileWriter::write(path, bytes)) {
        MessageBoxes::ok(this, path + QStringLiteral("に保存できません。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    return true;
}

// Characters that code page 932 cannot hold are named before anything is written; the user may
// let them become "?" or keep the old file.
bool fomTextView::writeText(const QString& path) {
    const Cp932::Encoded encoded = Cp932::encode(m_textBuf);
    if (!encoded.ok()) {
        QString shown = encoded.unencodable.left(20);
        if (shown.size() < encoded.unencodable.size())
            shown += QStringLiteral("…");
        const QString question =
            path + QStringLiteral(" には Shift-JIS で表せない文字（%1）を保存できません。\r\n"
                                  "これらの文字を「?」に置き換えて保存しますか？")
                       .arg(shown);
        if (!MessageBoxes::yesNoDefaultNo(this, question))
            return false;
    }
    if (!SafeFileWriter::write(path, encoded.bytes)) {
        MessageBoxes::ok(this, path + QStringLiteral("に保存できません。"),
                         MessageBoxes::Icon::Critical);
        return false;
    }
    return true;
}
