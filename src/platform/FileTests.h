#pragma once

#include <QString>

// File tests that answer false instead of failing.
namespace FileTests {

bool IsFile(const QString& path);
bool IsDir(const QString& path);
bool PathExists(const QString& path);
// True when a file of this name can be created here (it is created and removed again).
bool CanCreate(const QString& path);

} // namespace FileTests
