// The main window's picture: opening, dropping and pasting it, scrolling over it, and the
// selection rectangle dragged on it.

#include "app/fomMain.h"

#include "app/BusyCursor.h"
#include "platform/MessageBoxes.h"
#include "platform/Numbers.h"
#include "platform/PathHelpers.h"
#include "platform/PictureLoader.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

qint16 nearest16(double v) {
    return static_cast<qint16>(std::clamp<qint64>(Numbers::roundHalfEven(v), -32768, 32767));
}

} // namespace

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
    if ((watched == m_tray->txtTxtTbl() || watched == m_tray->txtLines()) &&
        event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
            key->matches(QKeySequence::Paste))
            return true; // left unaccepted, so the menu's shortcut runs
    }
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
