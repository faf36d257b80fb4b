#pragma once

#include <QWidget>

#include <functional>

// One of the four blinking edge bars picAira(0..3) of the selection rectangle: a thin bar in a
// system colour with a sizing pointer, handing its mouse events (in its own coordinates) and
// dropped files to the window.
class AiraBarWidget : public QWidget {
    Q_OBJECT
public:
    using MouseHandler = std::function<void(int index, QMouseEvent* event)>;
    using DropHandler = std::function<void(const QList<QUrl>& urls)>;

    AiraBarWidget(int index, QWidget* parent = nullptr);

    int index() const { return m_index; }
    // True while the bar shows the highlight colour (false: the shadow colour).
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool on);

    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    DropHandler onDrop;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int m_index;
    bool m_highlighted = true;
};
