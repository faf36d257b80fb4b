#pragma once

#include "convert/PictureBuffer.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

// Brightness of one pixel, 0..1, from its blue, green and red bytes.
inline double Luma(uchar blue, uchar green, uchar red) {
    return (green * 0.587 + red * 0.299 + blue * 0.114) / 255;
}

// The grey levels counted as full black (lo) and full white (hi), 0..255, hi > lo.
struct LevelPair {
    qint16 lo = 0;
    qint16 hi = 255;
};

// Maps a brightness through the level pair to 0..1.
inline double ToneMap(double v, const LevelPair& levels) {
    double mapped = (v - levels.lo / 255.0) / ((levels.hi - levels.lo) / 255.0);
    if (mapped < 0)
        mapped = 0;
    if (mapped > 1)
        mapped = 1;
    return mapped;
}

// The virtual raster of text pixels laid over the selection copy: TextLines rows of RowHeight
// pixels, colsPx pixels wide, and the source pixel that each raster point samples.
struct RasterMapping {
    int colsPx = 0;
    qint32 rowsPx = 0;
    double xScale = 0;
    double yScale = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;

    // rowHeight: RowHeight; lineSpacePx: the line space in pixels; lsConv: 0 ignores the line
    // space in the raster width (it is in RowHeight), 1 interpolates it.
    static RasterMapping make(int pictureWidth, int pictureHeight, int textLines, int rowHeight,
                              double lineSpacePx, int lsConv);

    int sourceColumn(int xv) const {
        return std::min(static_cast<int>(std::floor(xv * xScale)), pictureWidth - 1);
    }
    int sourceRow(qint32 yv) const {
        return std::min(static_cast<int>(std::floor(yv * yScale)), pictureHeight - 1);
    }
};

// The luma of the source pixel that raster point (xv, yv) samples.
inline double sampleLuma(const PictureBuffer& buffer, const RasterMapping& raster, int xv,
                         qint32 yv) {
    const uchar* p = buffer.data() + buffer.offset(raster.sourceColumn(xv), raster.sourceRow(yv));
    return Luma(p[0], p[1], p[2]);
}
