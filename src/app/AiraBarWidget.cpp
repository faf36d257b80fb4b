#include "app/AiraBarWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

AiraBarWidget::AiraBarWidget(int index, QWidget* parent) : QWidget(parent), m_index(index) {
    setObjectName(QStringLiteral("picAira(%1)").arg(index));
    setCursor(index < 2 ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    setAcceptDrops(true);
    hide();
}

void AiraBarWidget::setHighlighted(bool on) {
    m_highlighted = on;
    repaint();
}

void AiraBarWidget::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(m_highlighted ? QPalette::Light : QPalette::Dark));
}

void AiraBarWidget::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(m_index, event);
}

void AiraBarWidget::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(m_index, event);
}

void AiraBarWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp)
        onMouseUp(m_index, event);
}

void AiraBarWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void AiraBarWidget::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (onDrop)
        onDrop(urls);
}
