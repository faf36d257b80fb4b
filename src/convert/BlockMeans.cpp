#include "convert/BlockMeans.h"

#include <cstddef>

namespace BlockMeans {

void compute(const double* columns, int width, int height, quint8* out) {
    const size_t h = static_cast<size_t>(height);
    for (int x = 0; x < width; ++x) {
        const double* column = columns + static_cast<size_t>(x) * h;
        for (size_t y = 0; y + 1 < h; y += 2)
            *out++ = LevelSad::level((column[y] + column[y + 1]) / valuesPerBlock);
    }
}

} // namespace BlockMeans
