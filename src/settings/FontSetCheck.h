#pragma once

#include <QString>

// The checks of the font dialog's "戻る" on the texts of the size and line-spacing boxes. Returns
// the message that refuses them, or "" when they may be stored. A size of 0 or below is refused
// even when a large line spacing would make the line pitch positive: no font of that size exists.
QString FontSetCheck(const QString& sizeText, const QString& spaceText);
