// Picture loading from any bytes, then a small conversion of the picture in both modes.

#include "FuzzSupport.h"

#include "platform/PictureLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    FuzzSupport::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const PictureLoader::Result loaded = PictureLoader::load(FuzzSupport::scratchFile(bytes));
    if (!loaded.ok())
        return 0;
    SettingsRecord settings;
    settings.TextLines = 3;
    FuzzSupport::convertBothModes(settings, loaded.image);
    return 0;
}
