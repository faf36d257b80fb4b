#pragma once

#include <QtGlobal>

#include <vector>

// Values in [0, 1] as the nearest of 256 levels, and the sums of absolute differences of two
// runs of levels: whole numbers, the same from every kernel, a byte a value. They screen the
// candidates of a place at full resolution with a quarter of the memory of single precision
// (see ScreenSums::mayReachByLevels). Vector code is chosen at run time as in AbsDiff.
namespace LevelSad {

constexpr int levels = 255;

// The nearest level to levels × value, for a value in [0, 1]: within half a level and a
// rounding of 1e-13; halves round up. Inline arithmetic rather than a call to lround, since it
// runs for every value of every place.
inline quint8 level(double value) {
    const double up = levels * value + 0.5;
    // Truncating a value in [0, levels] is rounding it down; NaN goes to 0.
    return static_cast<quint8>(up >= levels ? levels : (up > 0 ? up : 0));
}

// Each out[k] is level(values[k]).
void quantize(const double* values, int count, quint8* out);

// The least the sum of |a[k] - b[k]| over count values in [0, 1] can be when the sum of the
// differences of their levels is sad: each level is within half a level and 1e-13 of levels
// times its value, so sad exceeds levels times that sum by at most count × (1 + 1e-12).
inline double leastDifference(quint32 sad, int count) {
    return (sad - count * (1 + 1e-12)) / levels;
}

// The sum of |a[k] - b[k]| for k = 0..count-1.
quint32 sum(const quint8* a, const quint8* b, int count);

// One implementation of sum().
struct Kernel {
    const char* name;
    quint32 (*sum)(const quint8* a, const quint8* b, int count);
};

// Every implementation this processor runs, the portable loop first and the one sum() uses
// last; for tests.
std::vector<Kernel> kernels();

} // namespace LevelSad
