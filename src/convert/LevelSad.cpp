#include "convert/LevelSad.h"

#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CHARLOOM_X86 1
#endif

namespace LevelSad {

void quantize(const double* values, int count, quint8* out) {
    for (int k = 0; k < count; ++k)
        out[k] = level(values[k]);
}

namespace {

quint32 sumPortable(const quint8* a, const quint8* b, int count) {
    quint32 total = 0;
    for (int k = 0; k < count; ++k)
        total += static_cast<quint32>(std::abs(a[k] - b[k]));
    return total;
}

#ifdef CHARLOOM_X86
// The SAD instruction sums the differences of each eight bytes into a 64-bit lane.
__attribute__((target("avx2"))) quint32 sumAvx2(const quint8* a, const quint8* b, int count) {
    __m256i lanes = _mm256_setzero_si256();
    int k = 0;
    for (; k + 32 <= count; k += 32)
        lanes = _mm256_add_epi64(
            lanes, _mm256_sad_epu8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k)),
                                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k))));
    alignas(32) quint64 parts[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(parts), lanes);
    const quint64 whole = parts[0] + parts[1] + parts[2] + parts[3];
    return static_cast<quint32>(whole) + sumPortable(a + k, b + k, count - k);
}

__attribute__((target("avx512f,avx512bw"))) quint32 sumAvx512(const quint8* a, const quint8* b,
                                                              int count) {
    __m512i lanes = _mm512_setzero_si512();
    int k = 0;
    for (; k + 64 <= count; k += 64)
        lanes = _mm512_add_epi64(
            lanes, _mm512_sad_epu8(_mm512_loadu_si512(a + k), _mm512_loadu_si512(b + k)));
    if (k < count) {
        const __mmask64 tail = (~0ULL) >> (64 - (count - k));
        lanes = _mm512_add_epi64(lanes, _mm512_sad_epu8(_mm512_maskz_loadu_epi8(tail, a + k),
                                                        _mm512_maskz_loadu_epi8(tail, b + k)));
    }
    alignas(64) quint64 parts[8];
    _mm512_store_si512(parts, lanes);
    quint64 whole = 0;
    for (const quint64 part : parts)
        whole += part;
    return static_cast<quint32>(whole);
}
#endif

} // namespace

std::vector<Kernel> kernels() {
    std::vector<Kernel> available{{"portable", sumPortable}};
#ifdef CHARLOOM_X86
    if (__builtin_cpu_supports("avx2"))
        available.push_back({"AVX2", sumAvx2});
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        available.push_back({"AVX-512", sumAvx512});
#endif
    return available;
}

namespace {

const Kernel chosen = kernels().back();

} // namespace

quint32 sum(const quint8* a, const quint8* b, int count) {
    return chosen.sum(a, b, count);
}

} // namespace LevelSad
