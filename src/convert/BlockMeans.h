#pragma once

#include "convert/LevelSad.h"

#include <QtGlobal>

// Means of blocks of two values, one above the other, in values laid out column after column
// (height values per column), as levels (LevelSad): a coarse copy of a glyph map or of a place of
// the row band, to screen candidates cheaply. A block's two absolute differences add up to at
// least twice the difference of its means, so the blocks bound a score from below (see
// ScreenSums::mayReachByBlocks). Blocks one column wide keep a vertical stroke one pixel wide
// at full contrast, where 2 × 2 blocks halve every such stroke: with 2,015 kanji these bounds
// pass over 92 % of the candidates that reach them, 2 × 2 blocks over 62 % for half the values.
namespace BlockMeans {

constexpr int valuesPerBlock = 2;

// How many whole blocks width × height values hold; an odd last row is left out.
inline int count(int width, int height) {
    return width * (height / 2);
}

// The levels (LevelSad::level) of the block means of values in [0, 1], one column of blocks
// after the other.
void compute(const double* columns, int width, int height, quint8* out);

} // namespace BlockMeans
