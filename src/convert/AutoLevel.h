#pragma once

#include "convert/PictureBuffer.h"
#include "convert/SelectionState.h"

#include <QImage>
#include <QtGlobal>

// The automatic tone range: the darkest and brightest grey of the selected picture area become
// the positions of the two slider knobs, so the conversion uses the picture's whole range.
namespace AutoLevel {

enum class Outcome {
    Set,              // Low and High were replaced
    InvalidSelection, // "選択範囲が不正です" must be shown; Low and High unchanged
    Unchanged,        // nothing readable in the selection; Low and High unchanged
};

// The darkest and brightest grey of a buffer, 0..255.
struct GreyRange {
    qint16 min = 255;
    qint16 max = 0;
};

// Scans every pixel (rows from the top), stopping after a row once both ends are reached.
GreyRange scan(const PictureBuffer& buffer);

// Knob positions (twips) for a grey range on the slider's track.
void positionsFor(const GreyRange& range, qint16& low, qint16& high);

// Replaces low and high from the selection of picture (null or empty: no picture, the knobs go
// to the two ends).
Outcome AutoLevel(const QImage* picture, const SelectionState& selection, qint16& low,
                  qint16& high);

} // namespace AutoLevel
