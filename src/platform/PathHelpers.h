#pragma once

#include <QString>

// Splitting of paths into root, folder, file name and name without extension. Windows paths
// ("C:\pic\a.bmp", "\\srv\share\a.txt") split as they always have; native Linux paths
// ("/home/u/pic/cat.jpg") split at "/" the same way.
namespace PathHelpers {

QString PathRoot(const QString& path);
QString PathDir(const QString& path);
QString PathFile(const QString& path);
QString PathNoExt(const QString& path);

// The integer quotient rounded towards plus infinity; 0 when b is 0.
qint32 CeilDiv(qint32 a, qint32 b);

} // namespace PathHelpers
