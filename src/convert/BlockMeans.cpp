#include "convert/BlockMeans.h"

#include <cstddef>

namespace BlockMeans {

void compute(const double* columns, int width, int height, float* out) {
    const size_t h = static_cast<size_t>(height);
    for (int x = 0; x + 1 < width; x += 2) {
        const double* left = columns + static_cast<size_t>(x) * h;
        const double* right = left + h;
        for (size_t y = 0; y + 1 < h; y += 2)
            *out++ = static_cast<float>((left[y] + left[y + 1] + right[y] + right[y + 1]) / 4);
    }
}

} // namespace BlockMeans
