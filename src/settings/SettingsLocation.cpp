#include "settings/SettingsLocation.h"

#include "platform/FileTests.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

QString fileIn(const QString& folder) {
    return QDir(folder).filePath(SettingsLocation::fileName());
}

} // namespace

std::function<bool(const QString&)> SettingsLocation::defaultCanCreate() {
    return [](const QString& path) { return FileTests::CanCreate(path); };
}

SettingsLocation SettingsLocation::choose(const QString& programFolder,
                                          const QString& userConfigFolder,
                                          const std::function<bool(const QString&)>& canCreate) {
    // A name of this process's own, so that a probe left behind by another never decides.
    const QString probe =
        QDir(programFolder)
            .filePath(QStringLiteral(".Charloom-%1.probe").arg(QCoreApplication::applicationPid()));
    if (!programFolder.isEmpty() && canCreate(probe))
        return {fileIn(programFolder), Place::ProgramFolder};
    return {fileIn(userConfigFolder), Place::UserConfigFolder};
}

SettingsLocation SettingsLocation::forThisProgram() {
    return choose(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
