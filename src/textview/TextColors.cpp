#include "textview/TextColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace TextColors {

QColor resolve(qint32 colorRef) {
    const quint32 ref = static_cast<quint32>(colorRef);
    if ((ref & 0x80000000u) == 0)
        return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                      static_cast<int>((ref >> 16) & 0xFF));
    const QPalette palette = QGuiApplication::palette();
    switch (ref & 0xFF) {
    case 5:
        return palette.color(QPalette::Base);
    case 18:
        return palette.color(QPalette::ButtonText);
    case 15:
        return palette.color(QPalette::Button);
    case 20:
        return palette.color(QPalette::Light);
    case 16:
        return palette.color(QPalette::Dark);
    case 8:
        return palette.color(QPalette::Text);
    default:
        return palette.color(QPalette::WindowText);
    }
}

} // namespace TextColors
