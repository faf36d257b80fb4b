#pragma once

#include <QStringList>

// The face names the font dialog offers: the installed families plus the Windows face names that
// Charloom draws with substitutes, so that the default "ＭＳ Ｐゴシック" can be chosen on a machine
// without it. Sorted alphabetically, letter case ignored (ties in code order), no duplicates.
namespace FontNameList {

// The Windows face names drawn with substitutes.
QStringList substitutedNames();

// The list built from the given installed families.
QStringList fromFamilies(const QStringList& families);

// The list for the fonts installed now; gathered again only when the number of installed families
// changes. Needs a QGuiApplication.
QStringList current();

} // namespace FontNameList
