#include "platform/FileTests.h"

#include <QFile>
#include <QFileInfo>

namespace FileTests {

bool IsFile(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool IsDir(const QString& path) {
    if (path.isEmpty())
        return false;
    return QFileInfo(path).isDir();
}

bool PathExists(const QString& path) {
    return IsFile(path) || IsDir(path);
}

bool CanCreate(const QString& path) {
    if (path.isEmpty() || PathExists(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    file.close();
    return file.remove();
}

} // namespace FileTests
