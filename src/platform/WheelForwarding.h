#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

// Makes the mouse wheel move a chosen scroll bar by one small step per wheel event, over picture
// areas that do not scroll by themselves. The sign of the wheel angle decides the direction. The
// event is taken once handled, so the bar moves by exactly one step: not again through a hooked
// parent, nor by a scroll bar's own wheel handling.
class WheelForwarding : public QObject {
    Q_OBJECT
public:
    // The wheel over widget moves the vertical bar.
    static void SubClassV(QWidget* widget, QScrollBar* bar);
    // The wheel over widget moves the horizontal bar.
    static void SubClassH(QWidget* widget, QScrollBar* bar);
    // The widget's wheel events are its own again.
    static void UnSubClass(QWidget* widget);
    static bool isHooked(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        int direction = 0; // 0 vertical, 1 horizontal
        QPointer<QScrollBar> bar;
    };
    static WheelForwarding& instance();
    void hook(QWidget* widget, QScrollBar* bar, int direction);

    QHash<QObject*, Entry> m_entries;
};
