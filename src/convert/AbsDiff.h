#pragma once

#include <vector>

// Sum of absolute differences of two arrays of doubles, the inner loop of the two-level
// converter. Uses the widest vectors the processor has (AVX-512 or AVX2, chosen at run time, so
// the program still runs on older processors) and a portable loop elsewhere; all of them add the
// differences in the same order (16 running sums, combined in a fixed order), so they give the
// same result bit for bit.
namespace AbsDiff {

// The sum of |a[k] - b[k]| for k = 0..count-1. Once a partial sum exceeds limit the sum stops
// early and a value above limit is returned: the caller only needs to know that it lost.
double sum(const double* a, const double* b, int count, double limit);

// One implementation of sum().
struct Kernel {
    const char* name;
    double (*sum)(const double* a, const double* b, int count, double limit);
};

// Every implementation this processor runs, the portable loop first and the one sum() uses last;
// for tests and benchmarks.
std::vector<Kernel> kernels();

// The name of the implementation sum() uses.
const char* chosenKernel();

} // namespace AbsDiff
