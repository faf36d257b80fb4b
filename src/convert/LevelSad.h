#pragma once

#include <QtGlobal>

#include <vector>

// Values in [0, 1] as the nearest of 256 levels, and the sums of absolute differences of two
// runs of levels: whole numbers, the same from every kernel, a byte a value. They screen the
// candidates of a place at full resolution with a quarter of the memory of single precision
// (see ScreenSums::mayReachByLevels). Vector code is chosen at run time as in AbsDiff.
namespace LevelSad {

constexpr int levels = 255;

// Each out[k] is the nearest level to levels × values[k] (within half a level and a rounding
// of 1e-13).
void quantize(const double* values, int count, quint8* out);

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
