#include "convert/BlockScreen.h"

#include <cmath>
#include <cstddef>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CHARLOOM_X86 1
#endif

namespace {

constexpr int lanes = BlockScreen::lanes;

void laneSumsPortable(const float* table, const float* window, int blocks, float* out) {
    for (int j = 0; j < lanes; ++j) {
        float sum = 0;
        for (int b = 0; b < blocks; ++b)
            sum += std::fabs(window[b] - table[static_cast<size_t>(b) * lanes + j]);
        out[j] = sum;
    }
}

#ifdef CHARLOOM_X86
// Four running sums per lane (blocks b, b + 1, b + 2, b + 3), so the additions do not wait for
// each other; each is within the screen's error bound in any order.
__attribute__((target("avx2"), always_inline)) inline __m256 add8(__m256 sum, __m256 sign, float w,
                                                                  const float* means) {
    return _mm256_add_ps(
        sum, _mm256_andnot_ps(sign, _mm256_sub_ps(_mm256_set1_ps(w), _mm256_loadu_ps(means))));
}

__attribute__((target("avx2"))) void laneSumsAvx2(const float* table, const float* window,
                                                  int blocks, float* out) {
    const __m256 sign = _mm256_set1_ps(-0.0f);
    for (int h = 0; h < 2; ++h) {
        const float* means = table + 8 * h;
        __m256 s0 = _mm256_setzero_ps();
        __m256 s1 = s0, s2 = s0, s3 = s0;
        int b = 0;
        for (; b + 4 <= blocks; b += 4, means += 4 * lanes) {
            s0 = add8(s0, sign, window[b], means);
            s1 = add8(s1, sign, window[b + 1], means + lanes);
            s2 = add8(s2, sign, window[b + 2], means + 2 * lanes);
            s3 = add8(s3, sign, window[b + 3], means + 3 * lanes);
        }
        for (; b < blocks; ++b, means += lanes)
            s0 = add8(s0, sign, window[b], means);
        _mm256_storeu_ps(out + 8 * h, _mm256_add_ps(_mm256_add_ps(s0, s1), _mm256_add_ps(s2, s3)));
    }
}

__attribute__((target("avx512f"), always_inline)) inline __m512 add16(__m512 sum, float w,
                                                                      const float* means) {
    return _mm512_add_ps(sum,
                         _mm512_abs_ps(_mm512_sub_ps(_mm512_set1_ps(w), _mm512_loadu_ps(means))));
}

__attribute__((target("avx512f"))) void laneSumsAvx512(const float* table, const float* window,
                                                       int blocks, float* out) {
    __m512 s0 = _mm512_setzero_ps();
    __m512 s1 = s0, s2 = s0, s3 = s0;
    const float* means = table;
    int b = 0;
    for (; b + 4 <= blocks; b += 4, means += 4 * lanes) {
        s0 = add16(s0, window[b], means);
        s1 = add16(s1, window[b + 1], means + lanes);
        s2 = add16(s2, window[b + 2], means + 2 * lanes);
        s3 = add16(s3, window[b + 3], means + 3 * lanes);
    }
    for (; b < blocks; ++b, means += lanes)
        s0 = add16(s0, window[b], means);
    _mm512_storeu_ps(out, _mm512_add_ps(_mm512_add_ps(s0, s1), _mm512_add_ps(s2, s3)));
}
#endif

} // namespace

std::vector<BlockScreen::Kernel> BlockScreen::kernels() {
    std::vector<Kernel> available{{"portable", laneSumsPortable}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", laneSumsAvx2});
    if (__builtin_cpu_supports("avx512f"))
        available.push_back({"AVX-512", laneSumsAvx512});
#endif
    return available;
}

namespace {

const BlockScreen::Kernel chosen = BlockScreen::kernels().back();

} // namespace

BlockScreen::BlockScreen(int count, int blocks, const std::function<void(int k, float* out)>& fill)
    : m_blocks(blocks) {
    const int groups = (count + lanes - 1) / lanes;
    const size_t perGroup = static_cast<size_t>(blocks) * lanes;
    m_table.assign(static_cast<size_t>(groups) * perGroup, 0.0f);
    std::vector<float> one(static_cast<size_t>(blocks));
    for (int k = 0; k < count; ++k) {
        fill(k, one.data());
        float* lane = m_table.data() + static_cast<size_t>(k / lanes) * perGroup + k % lanes;
        for (int b = 0; b < blocks; ++b)
            lane[static_cast<size_t>(b) * lanes] = one[static_cast<size_t>(b)];
    }
}

void BlockScreen::sums(int group, const float* window, float out[lanes]) const {
    sums(chosen, group, window, out);
}

void BlockScreen::sums(const Kernel& kernel, int group, const float* window,
                       float out[lanes]) const {
    const size_t perGroup = static_cast<size_t>(m_blocks) * lanes;
    kernel.sums(m_table.data() + static_cast<size_t>(group) * perGroup, window, m_blocks, out);
}
