#include "app/PictureBoxWidget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

PictureBoxWidget::PictureBoxWidget(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setAcceptDrops(true);
}

void PictureBoxWidget::setImage(const QImage& image) {
    m_image = image;
    update();
}

void PictureBoxWidget::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (m_image.isNull())
        return;
    // One picture pixel is one pixel of the window, which the selection's corners count in; on
    // a scaled screen each becomes a block of equal screen pixels, never a smoothed blend.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(0, 0, m_image);
}

void PictureBoxWidget::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown)
        onMouseDown(event);
}

void PictureBoxWidget::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove)
        onMouseMove(event);
}

void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (onMouseUp)
        onMouseUp(event);
}

void PictureBoxWidget::keyPressEvent(QKeyEvent* event) {
    if (onKeyDown)
        onKeyDown(event);
    else
        QWidget::keyPressEvent(event);
}

void PictureBoxWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void PictureBoxWidget::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    if (onDrop)
        onDrop(urls);
}
