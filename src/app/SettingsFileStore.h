#pragma once

#include "app/SettingsFileLink.h"

// The program's settings file: Charloom.ini where SettingsLocation puts it, read and written
// by the settings file's own reader and writer.
class SettingsFileStore : public SettingsFileLink {
public:
    QString SettingsPath() override;
    void IniRead(const QString& path, SettingsRecord& settings) override;
    void IniWrite(const QString& path, const SettingsRecord& settings) override;
};
