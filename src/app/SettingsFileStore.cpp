#include "app/SettingsFileStore.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsLocation.h"

QString SettingsFileStore::SettingsPath() {
    return SettingsLocation::forThisProgram().path;
}

void SettingsFileStore::IniRead(const QString& path, SettingsRecord& settings) {
    SettingsFile::IniRead(path, settings);
}

void SettingsFileStore::IniWrite(const QString& path, const SettingsRecord& settings) {
    // A file that cannot be written does not keep the program from ending.
    SettingsFile::IniWrite(path, settings);
}
