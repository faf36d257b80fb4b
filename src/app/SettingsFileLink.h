#pragma once

#include "convert/SettingsRecord.h"

#include <QString>

// Where the settings file lives and how it is read at start-up and written at exit.
class SettingsFileLink {
public:
    virtual ~SettingsFileLink() = default;
    virtual QString SettingsPath() = 0;
    // A missing file leaves the record's defaults.
    virtual void IniRead(const QString& path, SettingsRecord& settings) = 0;
    virtual void IniWrite(const QString& path, const SettingsRecord& settings) = 0;
};
