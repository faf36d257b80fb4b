#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file only with complete new contents: the bytes go to a temporary file in the same
// folder, which takes the old file's place only when every byte was written. Qt 6.4's
// QSaveFile::commit() reports success after a short write (full disk), so every write is checked.
namespace SafeFileWriter {

// True when the file now holds exactly these bytes; otherwise the old file is unchanged and no
// temporary file is left behind.
bool write(const QString& path, const QByteArray& bytes);

} // namespace SafeFileWriter
