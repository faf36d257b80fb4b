#include "platform/WheelForwarding.h"

#include <QWheelEvent>

#include <algorithm>

WheelForwarding& WheelForwarding::instance() {
    static WheelForwarding forwarding;
    return forwarding;
}

void WheelForwarding::SubClassV(QWidget* widget, QScrollBar* bar) {
    instance().hook(widget, bar, 0);
}

void WheelForwarding::SubClassH(QWidget* widget, QScrollBar* bar) {
    instance().hook(widget, bar, 1);
}

void WheelForwarding::hook(QWidget* widget, QScrollBar* bar, int direction) {
    if (widget == nullptr)
        return;
    // Hooking a hooked widget again only retargets it.
    if (!m_entries.contains(widget)) {
        widget->installEventFilter(this);
        connect(widget, &QObject::destroyed, this,
                [this](QObject* gone) { m_entries.remove(gone); });
    }
    m_entries.insert(widget, Entry{direction, bar});
}

void WheelForwarding::UnSubClass(QWidget* widget) {
    WheelForwarding& self = instance();
    if (widget == nullptr || !self.m_entries.contains(widget))
        return;
    widget->removeEventFilter(&self);
    disconnect(widget, &QObject::destroyed, &self, nullptr);
    self.m_entries.remove(widget);
}

bool WheelForwarding::isHooked(QWidget* widget) {
    return instance().m_entries.contains(widget);
}

bool WheelForwarding::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return false;
    const auto found = m_entries.constFind(watched);
    if (found == m_entries.constEnd())
        return false;
    QScrollBar* bar = found->bar;
    const QPoint angle = static_cast<QWheelEvent*>(event)->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (bar != nullptr && bar->isEnabled()) {
        // Towards the user (delta below 1) scrolls down or right.
        const qint64 step = bar->singleStep();
        const qint64 moved = static_cast<qint64>(bar->value()) + (delta < 1 ? step : -step);
        const int value =
            static_cast<int>(std::clamp<qint64>(moved, bar->minimum(), bar->maximum()));
        if (value != bar->value())
            bar->setValue(value);
    }
    // Taken: left to travel on, the event would reach a hooked parent and move the bar again, or
    // a scroll bar would add its own wheel step.
    return true;
}
