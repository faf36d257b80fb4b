// The text view's viewport: its scroll bars, drawing the visible text, and moving through the
// text with the keys and by dragging past an edge.

#include "textview/fomTextView.h"

#include "platform/PathHelpers.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

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
