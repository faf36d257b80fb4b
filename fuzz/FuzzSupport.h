#pragma once

#include "FuzzGlyphs.h"

#include "convert/ConvDispatch.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QString>

// What the fuzz targets share: the application object that image plugins need, a scratch file
// for readers that take a path, and a small conversion run that reports nothing anywhere.
namespace FuzzSupport {

class QuietServices : public RunServices {
public:
    void showPreparing() override {}
    void showPercent(int) override {}
    bool yieldAndCheckAbort() override { return false; }
    bool confirmCut999() override { return true; }
    void showMessage(const QString&) override {}
    void handOff(const QString&) override {}
};

inline void startApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
}

// A file of the process's own in the temporary folder holding the bytes.
inline QString scratchFile(const QByteArray& bytes) {
    static const QString path = QDir::temp().filePath(
        QStringLiteral("charloom-fuzz-%1").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

// Both converters on the picture with the settings as given.
inline void convertBothModes(SettingsRecord settings, const QImage& picture) {
    static const FuzzGlyphs glyphs;
    for (const qint16 mode : {qint16(0), qint16(1)}) {
        settings.ConvMode = mode;
        QuietServices services;
        const ConversionInput input{settings, &picture, SelectionState{}, glyphs,
                                    LevelPair{0, 255}};
        ConvDispatch(input, services);
    }
}

} // namespace FuzzSupport
