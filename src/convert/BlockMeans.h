#pragma once

// Means of 2 × 2 blocks of values laid out column after column (height values per column): a
// coarse copy of a glyph map or of a place of the row band, to screen candidates cheaply. Each
// block's four absolute differences add up to at least four times the difference of its means,
// so the blocks bound a score from below (see ScreenSums::mayReachByBlocks).
namespace BlockMeans {

// How many whole blocks width × height values hold; an odd last column or row is left out.
inline int count(int width, int height) {
    return (width / 2) * (height / 2);
}

// The block means in single precision, one column of blocks after the other.
void compute(const double* columns, int width, int height, float* out);

} // namespace BlockMeans
