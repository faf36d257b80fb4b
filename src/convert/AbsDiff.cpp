#include "convert/AbsDiff.h"

#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CHARLOOM_X86 1
#endif

namespace {

// A partial sum is compared with the limit after every block of this many doubles.
constexpr int checkBlock = 16;
constexpr int checkBlock512 = 32;

// Sixteen lanes: four vectors of four. The portable loop keeps the same lanes so that both
// paths round alike.
double combine(const double acc[16]) {
    double lane[4];
    for (int l = 0; l < 4; ++l)
        lane[l] = (acc[l] + acc[4 + l]) + (acc[8 + l] + acc[12 + l]);
    return (lane[0] + lane[2]) + (lane[1] + lane[3]);
}

double sumLanes(const double* a, const double* b, int count, double limit) {
    double acc[16] = {};
    const int whole = count & ~15;
    int k = 0;
    while (k < whole) {
        for (int j = 0; j < 16; ++j)
            acc[j] += std::fabs(a[k + j] - b[k + j]);
        k += 16;
        if (k % checkBlock == 0 && combine(acc) > limit)
            return combine(acc);
    }
    // Up to three more groups of four, into the first vectors in order.
    for (int g = 0; k + 4 <= count; ++g, k += 4)
        for (int l = 0; l < 4; ++l)
            acc[4 * g + l] += std::fabs(a[k + l] - b[k + l]);
    double total = combine(acc);
    for (; k < count; ++k)
        total += std::fabs(a[k] - b[k]);
    return total;
}

#ifdef CHARLOOM_X86
__attribute__((target("avx2"))) double combineAvx2(__m256d v0, __m256d v1, __m256d v2, __m256d v3) {
    const __m256d s = _mm256_add_pd(_mm256_add_pd(v0, v1), _mm256_add_pd(v2, v3));
    const __m128d low = _mm256_castpd256_pd128(s);
    const __m128d high = _mm256_extractf128_pd(s, 1);
    const __m128d pair = _mm_add_pd(low, high); // lanes 0 + 2, 1 + 3
    return _mm_cvtsd_f64(pair) + _mm_cvtsd_f64(_mm_unpackhi_pd(pair, pair));
}

__attribute__((target("avx2"))) inline __m256d absDiff(__m256d sign, const double* p,
                                                       const double* q) {
    return _mm256_andnot_pd(sign, _mm256_sub_pd(_mm256_loadu_pd(p), _mm256_loadu_pd(q)));
}

__attribute__((target("avx2"))) double sumAvx2(const double* a, const double* b, int count,
                                               double limit) {
    const __m256d sign = _mm256_set1_pd(-0.0);
    __m256d v0 = _mm256_setzero_pd();
    __m256d v1 = _mm256_setzero_pd();
    __m256d v2 = _mm256_setzero_pd();
    __m256d v3 = _mm256_setzero_pd();
    const int whole = count & ~15;
    int k = 0;
    while (k < whole) {
        v0 = _mm256_add_pd(v0, absDiff(sign, a + k, b + k));
        v1 = _mm256_add_pd(v1, absDiff(sign, a + k + 4, b + k + 4));
        v2 = _mm256_add_pd(v2, absDiff(sign, a + k + 8, b + k + 8));
        v3 = _mm256_add_pd(v3, absDiff(sign, a + k + 12, b + k + 12));
        k += 16;
        if (k % checkBlock == 0) {
            const double partial = combineAvx2(v0, v1, v2, v3);
            if (partial > limit)
                return partial;
        }
    }
    if (k + 4 <= count) {
        v0 = _mm256_add_pd(v0, absDiff(sign, a + k, b + k));
        k += 4;
    }
    if (k + 4 <= count) {
        v1 = _mm256_add_pd(v1, absDiff(sign, a + k, b + k));
        k += 4;
    }
    if (k + 4 <= count) {
        v2 = _mm256_add_pd(v2, absDiff(sign, a + k, b + k));
        k += 4;
    }
    double total = combineAvx2(v0, v1, v2, v3);
    for (; k < count; ++k)
        total += std::fabs(a[k] - b[k]);
    return total;
}

// The same sixteen lanes as two vectors of eight: lanes 0..7 (the first and second AVX2 vectors)
// and 8..15. The remaining groups of four are added through zeroing masks, which leave the other
// lanes as they are, so the result is the portable loop's bit for bit.
__attribute__((target("avx512f"))) double combineAvx512(__m512d low, __m512d high) {
    return combineAvx2(
        _mm512_maskz_extractf64x4_pd(0x0f, low, 0), _mm512_maskz_extractf64x4_pd(0x0f, low, 1),
        _mm512_maskz_extractf64x4_pd(0x0f, high, 0), _mm512_maskz_extractf64x4_pd(0x0f, high, 1));
}

__attribute__((target("avx512f"))) inline __m512d absDiff512(__mmask8 mask, const double* p,
                                                             const double* q) {
    return _mm512_abs_pd(
        _mm512_sub_pd(_mm512_maskz_loadu_pd(mask, p), _mm512_maskz_loadu_pd(mask, q)));
}

__attribute__((target("avx512f"))) double sumAvx512(const double* a, const double* b, int count,
                                                    double limit) {
    __m512d low = _mm512_setzero_pd();
    __m512d high = _mm512_setzero_pd();
    const int whole = count & ~15;
    int k = 0;
    while (k < whole) {
        low = _mm512_add_pd(low, absDiff512(0xff, a + k, b + k));
        high = _mm512_add_pd(high, absDiff512(0xff, a + k + 8, b + k + 8));
        k += 16;
        if (k % checkBlock512 == 0) {
            const double partial = combineAvx512(low, high);
            if (partial > limit)
                return partial;
        }
    }
    const int groups = (count - k) / 4;
    const __mmask8 lowMask = groups >= 2 ? 0xff : (groups == 1 ? 0x0f : 0x00);
    const __mmask8 highMask = groups == 3 ? 0x0f : 0x00;
    low = _mm512_add_pd(low, absDiff512(lowMask, a + k, b + k));
    high = _mm512_add_pd(high, absDiff512(highMask, a + k + 8, b + k + 8));
    k += 4 * groups;
    double total = combineAvx512(low, high);
    for (; k < count; ++k)
        total += std::fabs(a[k] - b[k]);
    return total;
}

#endif

} // namespace

namespace AbsDiff {

std::vector<Kernel> kernels() {
    std::vector<Kernel> available{{"portable", sumLanes}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", sumAvx2});
    if (__builtin_cpu_supports("avx512f"))
        available.push_back({"AVX-512", sumAvx512});
#endif
    return available;
}

} // namespace AbsDiff

namespace {

const AbsDiff::Kernel chosen = AbsDiff::kernels().back();

} // namespace

namespace AbsDiff {

double sum(const double* a, const double* b, int count, double limit) {
    return chosen.sum(a, b, count, limit);
}

const char* chosenKernel() {
    return chosen.name;
}

} // namespace AbsDiff
