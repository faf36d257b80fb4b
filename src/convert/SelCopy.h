#pragma once

#include "convert/AbortPoll.h"
#include "convert/SelectionState.h"

#include <QImage>
#include <QtGlobal>

// SelCopy's result when the abort poll stopped the copy (target null).
constexpr qint16 SelCopyStopped = -2;

// Copies the selected part of the picture 1:1 into target (the whole picture without a
// selection). Returns 0 when copied, -1 when the selection is invalid: its origin lies beyond the
// right or bottom edge, or it lies wholly left of or above the picture. A selection that is cut
// down to no width or height copies an empty image (result 0, target null). The copy is made a
// band of rows at a time, with a look at poll before each band.
qint16 SelCopy(const QImage& picture, const SelectionState& selection, QImage& target,
               const AbortPoll& poll = {});
