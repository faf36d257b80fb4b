#include "convert/BlockScreen.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CHARLOOM_X86 1
#endif

namespace {

constexpr int lanes = BlockScreen::lanes;
constexpr size_t chunkBytes = static_cast<size_t>(lanes) * 8; // one chunk: 8 levels a lane

void sadsPortable(const quint8* table, const quint8* window, int chunks, quint32* out) {
    for (int j = 0; j < lanes; ++j) {
        quint32 sum = 0;
        for (int c = 0; c < chunks; ++c)
            for (int i = 0; i < 8; ++i)
                sum += static_cast<quint32>(
                    std::abs(window[c * 8 + i] - table[c * chunkBytes + j * 8 + i]));
        out[j] = sum;
    }
}

#ifdef CHARLOOM_X86
// The place's eight levels of a chunk in every 64-bit lane, against four or eight candidates'
// eight levels each: the SAD instruction sums each lane's eight differences.
__attribute__((target("avx2"))) void sadsAvx2(const quint8* table, const quint8* window, int chunks,
                                              quint32* out) {
    __m256i s0 = _mm256_setzero_si256();
    __m256i s1 = s0, s2 = s0, s3 = s0;
    for (int c = 0; c < chunks; ++c, table += chunkBytes) {
        long long levels;
        std::memcpy(&levels, window + c * 8, 8);
        const __m256i w = _mm256_set1_epi64x(levels);
        const auto* t = reinterpret_cast<const __m256i*>(table);
        s0 = _mm256_add_epi64(s0, _mm256_sad_epu8(_mm256_loadu_si256(t), w));
        s1 = _mm256_add_epi64(s1, _mm256_sad_epu8(_mm256_loadu_si256(t + 1), w));
        s2 = _mm256_add_epi64(s2, _mm256_sad_epu8(_mm256_loadu_si256(t + 2), w));
        s3 = _mm256_add_epi64(s3, _mm256_sad_epu8(_mm256_loadu_si256(t + 3), w));
    }
    alignas(32) quint64 sums[lanes];
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums), s0);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums + 4), s1);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums + 8), s2);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums + 12), s3);
    for (int j = 0; j < lanes; ++j)
        out[j] = static_cast<quint32>(sums[j]);
}

__attribute__((target("avx512f,avx512bw"))) void
sadsAvx512(const quint8* table, const quint8* window, int chunks, quint32* out) {
    __m512i s0 = _mm512_setzero_si512();
    __m512i s1 = s0;
    for (int c = 0; c < chunks; ++c, table += chunkBytes) {
        long long levels;
        std::memcpy(&levels, window + c * 8, 8);
        const __m512i w = _mm512_set1_epi64(levels);
        s0 = _mm512_add_epi64(s0, _mm512_sad_epu8(_mm512_loadu_si512(table), w));
        s1 = _mm512_add_epi64(s1, _mm512_sad_epu8(_mm512_loadu_si512(table + 64), w));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm512_maskz_cvtepi64_epi32(0xFF, s0));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), _mm512_maskz_cvtepi64_epi32(0xFF, s1));
}
#endif

} // namespace

std::vector<BlockScreen::Kernel> BlockScreen::kernels() {
    std::vector<Kernel> available{{"portable", sadsPortable}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", sadsAvx2});
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        available.push_back({"AVX-512", sadsAvx512});
#endif
    return available;
}

namespace {

const BlockScreen::Kernel chosen = BlockScreen::kernels().back();

} // namespace

BlockScreen::BlockScreen(int count, int blocks, const std::function<void(int k, quint8* out)>& fill)
    : m_blocks(blocks) {
    const int groups = (count + lanes - 1) / lanes;
    const size_t padded = static_cast<size_t>(stride(blocks));
    const size_t perGroup = padded * lanes;
    m_table.assign(static_cast<size_t>(groups) * perGroup, 0);
    std::vector<quint8> one(padded, 0);
    for (int k = 0; k < count; ++k) {
        fill(k, one.data());
        quint8* lane = m_table.data() + static_cast<size_t>(k / lanes) * perGroup + (k % lanes) * 8;
        for (size_t c = 0; c < padded / 8; ++c)
            std::memcpy(lane + c * chunkBytes, one.data() + c * 8, 8);
    }
}

void BlockScreen::sums(int group, const quint8* window, quint32 out[lanes]) const {
    sums(chosen, group, window, out);
}

void BlockScreen::sums(const Kernel& kernel, int group, const quint8* window,
                       quint32 out[lanes]) const {
    const int padded = stride(m_blocks);
    const size_t perGroup = static_cast<size_t>(padded) * lanes;
    kernel.sums(m_table.data() + static_cast<size_t>(group) * perGroup, window, padded / 8, out);
}
