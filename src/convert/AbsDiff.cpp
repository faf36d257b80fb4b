#include "convert/AbsDiff.h"

#include <cmath>
#include <limits>

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

void sum4Lanes(const double* window, const double* const glyphs[4], int count, double out[4]) {
    for (int j = 0; j < 4; ++j)
        out[j] = sumLanes(window, glyphs[j], count, std::numeric_limits<double>::infinity());
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

// Two glyphs against one window: each window vector is loaded once for both, and the two sets of
// running sums are independent chains, so the additions overlap.
__attribute__((target("avx2"))) void sum2Avx2(const double* w, const double* g, const double* h,
                                              int count, double* out) {
    const __m256d sign = _mm256_set1_pd(-0.0);
    __m256d g0 = _mm256_setzero_pd(), g1 = g0, g2 = g0, g3 = g0;
    __m256d h0 = g0, h1 = g0, h2 = g0, h3 = g0;
    const int whole = count & ~15;
    int k = 0;
    for (; k < whole; k += 16) {
        const __m256d w0 = _mm256_loadu_pd(w + k);
        const __m256d w1 = _mm256_loadu_pd(w + k + 4);
        const __m256d w2 = _mm256_loadu_pd(w + k + 8);
        const __m256d w3 = _mm256_loadu_pd(w + k + 12);
        g0 = _mm256_add_pd(g0, _mm256_andnot_pd(sign, _mm256_sub_pd(w0, _mm256_loadu_pd(g + k))));
        h0 = _mm256_add_pd(h0, _mm256_andnot_pd(sign, _mm256_sub_pd(w0, _mm256_loadu_pd(h + k))));
        g1 = _mm256_add_pd(g1,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w1, _mm256_loadu_pd(g + k + 4))));
        h1 = _mm256_add_pd(h1,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w1, _mm256_loadu_pd(h + k + 4))));
        g2 = _mm256_add_pd(g2,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w2, _mm256_loadu_pd(g + k + 8))));
        h2 = _mm256_add_pd(h2,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w2, _mm256_loadu_pd(h + k + 8))));
        g3 = _mm256_add_pd(g3,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w3, _mm256_loadu_pd(g + k + 12))));
        h3 = _mm256_add_pd(h3,
                           _mm256_andnot_pd(sign, _mm256_sub_pd(w3, _mm256_loadu_pd(h + k + 12))));
    }
    if (k < count) {
        out[0] = sumAvx2(w, g, count, std::numeric_limits<double>::infinity());
        out[1] = sumAvx2(w, h, count, std::numeric_limits<double>::infinity());
        return;
    }
    out[0] = combineAvx2(g0, g1, g2, g3);
    out[1] = combineAvx2(h0, h1, h2, h3);
}

__attribute__((target("avx2"))) void sum4Avx2(const double* window, const double* const glyphs[4],
                                              int count, double out[4]) {
    sum2Avx2(window, glyphs[0], glyphs[1], count, out);
    sum2Avx2(window, glyphs[2], glyphs[3], count, out + 2);
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

// acc + |w - g[k..k+7]|, the lanes outside mask left as they are (w holds zeros there).
__attribute__((target("avx512f"), always_inline)) inline __m512d
add512(__m512d acc, __m512d w, const double* g, __mmask8 mask) {
    return _mm512_add_pd(acc, _mm512_abs_pd(_mm512_sub_pd(w, _mm512_maskz_loadu_pd(mask, g))));
}

// Four glyphs against one window: each window vector is loaded once for all four, and the four
// sets of running sums (lanes 0..7 and 8..15 of each) are independent chains, so the additions
// overlap.
__attribute__((target("avx512f"))) void sum4Avx512(const double* w, const double* const glyphs[4],
                                                   int count, double out[4]) {
    const double* const g0 = glyphs[0];
    const double* const g1 = glyphs[1];
    const double* const g2 = glyphs[2];
    const double* const g3 = glyphs[3];
    __m512d low0 = _mm512_setzero_pd();
    __m512d low1 = low0, low2 = low0, low3 = low0, high0 = low0, high1 = low0, high2 = low0,
            high3 = low0;
    const int whole = count & ~15;
    int k = 0;
    __mmask8 lowMask = 0xff;
    __mmask8 highMask = 0xff;
    for (;;) {
        if (k >= whole) {
            // The remaining groups of four, then the loop ends.
            const int groups = (count - k) / 4;
            lowMask = groups >= 2 ? 0xff : (groups == 1 ? 0x0f : 0x00);
            highMask = groups == 3 ? 0x0f : 0x00;
        }
        const __m512d wl = _mm512_maskz_loadu_pd(lowMask, w + k);
        const __m512d wh = _mm512_maskz_loadu_pd(highMask, w + k + 8);
        low0 = add512(low0, wl, g0 + k, lowMask);
        high0 = add512(high0, wh, g0 + k + 8, highMask);
        low1 = add512(low1, wl, g1 + k, lowMask);
        high1 = add512(high1, wh, g1 + k + 8, highMask);
        low2 = add512(low2, wl, g2 + k, lowMask);
        high2 = add512(high2, wh, g2 + k + 8, highMask);
        low3 = add512(low3, wl, g3 + k, lowMask);
        high3 = add512(high3, wh, g3 + k + 8, highMask);
        if (k >= whole)
            break;
        k += 16;
    }
    k += 4 * ((count - k) / 4);
    out[0] = combineAvx512(low0, high0);
    out[1] = combineAvx512(low1, high1);
    out[2] = combineAvx512(low2, high2);
    out[3] = combineAvx512(low3, high3);
    for (; k < count; ++k)
        for (int j = 0; j < 4; ++j)
            out[j] += std::fabs(w[k] - glyphs[j][k]);
}
#endif

} // namespace

namespace AbsDiff {

std::vector<Kernel> kernels() {
    std::vector<Kernel> available{{"portable", sumLanes, sum4Lanes}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", sumAvx2, sum4Avx2});
    if (__builtin_cpu_supports("avx512f"))
        available.push_back({"AVX-512", sumAvx512, sum4Avx512});
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

void sum4(const double* window, const double* const glyphs[4], int count, double out[4]) {
    chosen.sum4(window, glyphs, count, out);
}

const char* chosenKernel() {
    return chosen.name;
}

} // namespace AbsDiff
