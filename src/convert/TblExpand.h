#pragma once

#include <QString>
#include <QStringList>

// Expands palette ranges: a pair of hyphens between two characters stands for every character
// whose code page 932 code lies between theirs. Each element of the result is one character
// (one code point); the same character may occur more than once.
QStringList TblExpand(const QString& palette);
