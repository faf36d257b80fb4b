#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

// A picture box of the main window: the viewport picBord and the picture picPicture inside it.
// It shows its image 1:1, accepts dropped files and hands its mouse and key events to the
// window's handlers, in its own pixel coordinates.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
public:
    using MouseHandler = std::function<void(QMouseEvent* event)>;
    using KeyHandler = std::function<void(QKeyEvent* event)>;
    using DropHandler = std::function<void(const QList<QUrl>& urls)>;

    explicit PictureBoxWidget(const QString& name, QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);
    bool hasPicture() const { return !m_image.isNull(); }

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    KeyHandler onKeyDown;
    DropHandler onDrop;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QImage m_image;
};
