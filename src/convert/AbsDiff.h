#pragma once

// Sum of absolute differences of two arrays of doubles, the inner loop of the two-level
// converter. Uses AVX2 where the processor has it (chosen at run time, so the program still runs
// on older processors) and a portable loop elsewhere; both add the differences in the same order
// (16 running sums, combined in a fixed order), so they give the same result bit for bit.
namespace AbsDiff {

// The sum of |a[k] - b[k]| for k = 0..count-1. Once a partial sum exceeds limit the sum stops
// early and a value above limit is returned: the caller only needs to know that it lost.
double sum(const double* a, const double* b, int count, double limit);

// The portable loop, whatever the processor; for tests.
double sumPortable(const double* a, const double* b, int count, double limit);

// Whether sum() uses AVX2 on this processor.
bool usesAvx2();

} // namespace AbsDiff
