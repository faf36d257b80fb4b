// The settings-file reader on any bytes, then a small conversion with whatever it read that
// passes the window's input checks.

#include "FuzzSupport.h"

#include "convert/InputCheck.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsRecord record;
    SettingsFile::IniRead(FuzzSupport::scratchFile(bytes), record);
    const QString lines = QString::number(record.TextLines);
    const QString palette = record.ConvMode == 0 ? record.TextTable1 : record.TextTable2;
    if (InputCheck::check(lines, palette))
        return 0;
    // A few lines are enough to reach every value; 999 lines of thousands of kanji are merely slow.
    record.TextLines = std::min<qint16>(record.TextLines, 4);
    QImage picture(12, 9, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 20, y * 25, (x * y) % 256));
    FuzzSupport::convertBothModes(record, picture);
    return 0;
}
