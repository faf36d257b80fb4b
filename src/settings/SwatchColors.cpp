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

} // namespace SwatchColors
