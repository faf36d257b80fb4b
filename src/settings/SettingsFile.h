#pragma once

#include "convert/SettingsRecord.h"

#include <QString>
#include <QStringList>

// Charloom.ini: the settings record between runs, as 33 lines of code page 932 text with CR LF
// line ends, written whole at exit and read at start by the program's own line reader (Qt's
// QSettings reads INI files as UTF-8 only).
namespace SettingsFile {

struct IniWriteResult {
    // True when the file now holds the whole record; otherwise the old file is unchanged.
    bool written = false;
    // Text fields (FontName, TextTable1, TextTable2) whose values could not be stored as they
    // are: characters code page 932 cannot hold, or a CR LF inside the value. Such a field is
    // never stored as something else; the file keeps the value it held before (the default when
    // it held none), and every other field is written.
    QStringList keptKeys;
    // The characters code page 932 cannot hold, in order of first appearance.
    QString unencodable;
    bool complete() const { return written && keptKeys.isEmpty(); }
};

enum class IniReadResult {
    Read,       // the file was read (whatever its lines held)
    NoFile,     // there is no such file: the record holds the defaults
    Unreadable, // it exists but cannot be read: the record holds the defaults
};

// Writes the whole record to path, replacing the file only with complete new contents; the
// folder is created when missing.
IniWriteResult IniWrite(const QString& path, const SettingsRecord& record);

// Resets the record to its defaults (both placement Widths to 0) and fills it from the file.
IniReadResult IniRead(const QString& path, SettingsRecord& record);

} // namespace SettingsFile
