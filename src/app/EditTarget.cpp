#include "app/EditTarget.h"

namespace EditTarget {

Target cutCopy(const Boxes& boxes, bool hasPicture) {
    if (boxes.tblSelection > 0 && boxes.tblFocus)
        return Target::Palette;
    if (boxes.linesSelection > 0 && boxes.linesFocus)
        return Target::Lines;
    return hasPicture ? Target::Picture : Target::Nothing;
}

Target paste(const Boxes& boxes, bool clipboardText, bool clipboardImage) {
    if (clipboardText && boxes.tblFocus)
        return Target::Palette;
    if (clipboardText && boxes.linesFocus)
        return Target::Lines;
    return clipboardImage ? Target::Picture : Target::Nothing;
}

} // namespace EditTarget
