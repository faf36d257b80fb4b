#include "settings/SwatchColors.h"

#include "convert/SettingsRecord.h"

namespace SwatchColors {

const QList<qint32>& references() {
    static const QList<qint32> values = {ColorRef::WindowBackground,
                                         ColorRef::ButtonText,
                                         ColorRef::ImageColor,
                                         0x000000FF,
                                         0x0000FFFF,
                                         0x0000FF00,
                                         0x00FFFF00,
                                         0x00FF0000,
                                         0x00FF00FF,
                                         0x00FFFFFF,
                                         0x00000000};
    return values;
}

QColor resolve(qint32 reference, const QPalette& palette) {
    const quint32 bits = static_cast<quint32>(reference);
    if ((bits & 0x80000000u) != 0) {
        switch (bits & 0xFFu) {
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
        default:
            return palette.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

} // namespace SwatchColors
