#pragma once

#include "convert/BlockMeans.h"
#include "convert/LevelSad.h"

#include <vector>

// Estimates of the two-level scores' sums of absolute differences, summed in single precision:
// twice as many values per vector as in doubles. They screen the candidates of a place: only
// those whose estimate, less its error, could still beat the best score are summed exactly, so
// the choice is the one the exact sums make. Vector code is chosen at run time as in AbsDiff.
// The same rules for the cheaper screens before them, by sums of levels (BlockScreen, LevelSad).
namespace ScreenSums {

// Four estimates of the sums of |window[k] - glyphs[j][k]| for k = 0..count-1, added in any
// order. For values in [0, 1], each lies within error(count) of the exact sum of the same
// values in doubles.
void sum4(const float* window, const float* const glyphs[4], int count, double out[4]);

// The largest distance of an estimate from the exact sum, for count values in [0, 1]: the
// rounding of each value and difference to single precision (3 units in the last place of 1)
// and of count + 8 additions in single precision (at most the sum, at most count), whatever
// their order, with room to spare; and the double sum's own rounding.
inline double error(int count) {
    const double n = count;
    const double unit = 1.0 / 16777216.0; // 2^-24, single precision's rounding of values <= 1
    return n * unit * (n + 11.0) * 1.01 + n * n * 0x1p-50;
}

// Whether a sum estimated as estimate over count values in [0, 1] may have a mean of score or
// less: only then must it be summed exactly.
inline bool mayReach(double estimate, int count, double score) {
    return estimate - error(count) <= score * count;
}

// Whether a candidate whose block levels (BlockMeans) differ from the window's by sad in all,
// over blocks blocks, may have a mean of score or less over values values (at least
// BlockMeans::valuesPerBlock × blocks of them in [0, 1]): the values per block times the least
// sum of the differences of the block means is at most the score's sum over all values.
inline bool mayReachByBlocks(quint32 sad, int blocks, int values, double score) {
    return BlockMeans::valuesPerBlock * LevelSad::leastDifference(sad, blocks) <= score * values;
}

// The same for a candidate whose value levels (LevelSad) differ from the window's by sad.
inline bool mayReachByLevels(quint32 sad, int values, double score) {
    return LevelSad::leastDifference(sad, values) <= score * values;
}

// The largest sad in [0, most] that reaches(sad) lets through, or -1 when none does. Both rules
// above are such a reaches: a larger sad only makes their left side larger, so each lets through
// every sad up to a limit and none beyond. guess, a sad near the limit, saves steps. Found
// once per place and cut, the limit turns each candidate's rule into a comparison of integers
// with the same outcome.
template <typename Reaches>
qint64 largestReaching(const Reaches& reaches, double guess, qint64 most) {
    qint64 sad = guess >= static_cast<double>(most) ? most
                 : guess > 0                        ? static_cast<qint64>(guess)
                                                    : 0;
    while (sad < most && reaches(sad + 1))
        ++sad;
    while (sad >= 0 && !reaches(sad))
        --sad;
    return sad;
}

// The largest block sad that mayReachByBlocks lets through, or -1.
inline qint64 blockSadLimit(int blocks, int values, double score) {
    const auto reaches = [&](qint64 sad) {
        return mayReachByBlocks(static_cast<quint32>(sad), blocks, values, score);
    };
    const double guess = score * values / BlockMeans::valuesPerBlock * LevelSad::levels + blocks;
    return largestReaching(reaches, guess, qint64{blocks} * LevelSad::levels);
}

// The largest value sad that mayReachByLevels lets through, or -1.
inline qint64 levelSadLimit(int values, double score) {
    const auto reaches = [&](qint64 sad) {
        return mayReachByLevels(static_cast<quint32>(sad), values, score);
    };
    const double guess = score * values * LevelSad::levels + values;
    return largestReaching(reaches, guess, qint64{values} * LevelSad::levels);
}

// One implementation of sum4().
struct Kernel {
    const char* name;
    void (*sum4)(const float* window, const float* const glyphs[4], int count, double out[4]);
};

// Every implementation this processor runs, the portable loop first and the one sum4() uses
// last; for tests and benchmarks.
std::vector<Kernel> kernels();

} // namespace ScreenSums
