#pragma once

#include "convert/GlyphSource.h"
#include "convert/Sampling.h"
#include "convert/SelectionState.h"
#include "convert/SettingsRecord.h"

#include <QImage>

// What a conversion run reads: the settings record, the picture (null when none is loaded) with
// the selection, the measuring box and the level pair derived from the slider knobs.
struct ConversionInput {
    const SettingsRecord& settings;
    const QImage* picture;
    SelectionState selection;
    const GlyphSource& glyphs;
    LevelPair levels;
};

// How a run ended.
enum class ConvOutcome {
    HandedOff,         // the text went to the hand-off
    EmptyText,         // no picture: an empty text went to the hand-off
    InvalidSelection,  // "選択範囲が不正です" was shown
    EmptySelection,    // the selection copy has no pixels
    RowHeightTooSmall, // the row height is below 1
    EmptyPalette,      // no palette character can be placed (message shown)
    TooNarrow,         // the raster has no column (message shown)
    Aborted,           // the abort request ended the run
    Cancelled999,      // Cancel at the 999-column question
    TooLarge,          // the glyph data would not fit in memory (message shown)
    NotRun,            // the conversion mode has no converter: nothing ran
};

// The outcome and the selection copy of the run, which picture colours are painted with.
struct ConversionResult {
    ConvOutcome outcome = ConvOutcome::EmptyText;
    QImage selectionCopy;
};
