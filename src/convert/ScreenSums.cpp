#include "convert/ScreenSums.h"

#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CHARLOOM_X86 1
#endif

namespace {

void sum4Portable(const float* window, const float* const glyphs[4], int count, double out[4]) {
    for (int j = 0; j < 4; ++j) {
        float total = 0;
        for (int k = 0; k < count; ++k)
            total += std::fabs(window[k] - glyphs[j][k]);
        out[j] = total;
    }
}

#ifdef CHARLOOM_X86
__attribute__((target("avx2"))) float total8(__m256 v) {
    const __m128 pair = _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    const __m128 two = _mm_add_ps(pair, _mm_movehl_ps(pair, pair));
    return _mm_cvtss_f32(_mm_add_ss(two, _mm_movehdup_ps(two)));
}

__attribute__((target("avx2"), always_inline)) inline __m256 add8(__m256 acc, __m256 sign, __m256 w,
                                                                  const float* g) {
    return _mm256_add_ps(acc, _mm256_andnot_ps(sign, _mm256_sub_ps(w, _mm256_loadu_ps(g))));
}

__attribute__((target("avx2"))) void sum4Avx2(const float* w, const float* const glyphs[4],
                                              int count, double out[4]) {
    const __m256 sign = _mm256_set1_ps(-0.0f);
    __m256 a0 = _mm256_setzero_ps();
    __m256 a1 = a0, a2 = a0, a3 = a0;
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m256 window = _mm256_loadu_ps(w + k);
        a0 = add8(a0, sign, window, glyphs[0] + k);
        a1 = add8(a1, sign, window, glyphs[1] + k);
        a2 = add8(a2, sign, window, glyphs[2] + k);
        a3 = add8(a3, sign, window, glyphs[3] + k);
    }
    float totals[4] = {total8(a0), total8(a1), total8(a2), total8(a3)};
    for (; k < count; ++k)
        for (int j = 0; j < 4; ++j)
            totals[j] += std::fabs(w[k] - glyphs[j][k]);
    for (int j = 0; j < 4; ++j)
        out[j] = totals[j];
}

__attribute__((target("avx512f"))) float total16(__m512 v) {
    const __m512d halves = _mm512_castps_pd(v);
    const __m256 low = _mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0x0f, halves, 0));
    const __m256 high = _mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0x0f, halves, 1));
    return total8(_mm256_add_ps(low, high));
}

__attribute__((target("avx512f"), always_inline)) inline __m512
add16(__m512 acc, __m512 w, const float* g, __mmask16 mask) {
    return _mm512_add_ps(acc, _mm512_abs_ps(_mm512_sub_ps(w, _mm512_maskz_loadu_ps(mask, g))));
}

__attribute__((target("avx512f"))) void sum4Avx512(const float* w, const float* const glyphs[4],
                                                   int count, double out[4]) {
    __m512 a0 = _mm512_setzero_ps();
    __m512 a1 = a0, a2 = a0, a3 = a0;
    int k = 0;
    for (; k + 16 <= count; k += 16) {
        const __m512 window = _mm512_loadu_ps(w + k);
        a0 = add16(a0, window, glyphs[0] + k, 0xffff);
        a1 = add16(a1, window, glyphs[1] + k, 0xffff);
        a2 = add16(a2, window, glyphs[2] + k, 0xffff);
        a3 = add16(a3, window, glyphs[3] + k, 0xffff);
    }
    if (k < count) {
        // The last step reads only what is left; the masked lanes add |0 - 0|.
        const __mmask16 mask = static_cast<__mmask16>((1u << (count - k)) - 1);
        const __m512 window = _mm512_maskz_loadu_ps(mask, w + k);
        a0 = add16(a0, window, glyphs[0] + k, mask);
        a1 = add16(a1, window, glyphs[1] + k, mask);
        a2 = add16(a2, window, glyphs[2] + k, mask);
        a3 = add16(a3, window, glyphs[3] + k, mask);
    }
    out[0] = total16(a0);
    out[1] = total16(a1);
    out[2] = total16(a2);
    out[3] = total16(a3);
}
#endif

} // namespace

namespace ScreenSums {

std::vector<Kernel> kernels() {
    std::vector<Kernel> available{{"portable", sum4Portable}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", sum4Avx2});
    if (__builtin_cpu_supports("avx512f"))
        available.push_back({"AVX-512", sum4Avx512});
#endif
    return available;
}

} // namespace ScreenSums

namespace {

const ScreenSums::Kernel chosen = ScreenSums::kernels().back();

} // namespace

namespace ScreenSums {

void sum4(const float* window, const float* const glyphs[4], int count, double out[4]) {
    chosen.sum4(window, glyphs, count, out);
}

} // namespace ScreenSums
