#pragma once

#include <QtGlobal>

// What the main window's Edit commands act on: the palette box or the line count box when it has
// the focus (and, for cut and copy, a selection), otherwise the whole picture.
namespace EditTarget {

enum class Target { Nothing, Palette, Lines, Picture };

struct Boxes {
    bool tblFocus = false;
    qsizetype tblSelection = 0;
    bool linesFocus = false;
    qsizetype linesSelection = 0;
};

// Cut and copy: the focused box's selected text, else the picture when there is one.
Target cutCopy(const Boxes& boxes, bool hasPicture);

// Paste: clipboard text into the focused box, else a clipboard picture as the new picture.
Target paste(const Boxes& boxes, bool clipboardText, bool clipboardImage);

} // namespace EditTarget
