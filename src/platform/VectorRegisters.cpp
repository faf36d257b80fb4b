#include "platform/VectorRegisters.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {

__attribute__((target("avx"))) void zeroUpper() {
    _mm256_zeroupper();
}

} // namespace

void VectorRegisters::clearUpperHalves() {
    static const bool hasAvx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (hasAvx)
        zeroUpper();
}
#else
void VectorRegisters::clearUpperHalves() {}
#endif
