#include "convert/Sampling.h"

#include "platform/Numbers.h"

RasterMapping RasterMapping::make(int pictureWidth, int pictureHeight, int textLines, int rowHeight,
                                  double lineSpacePx, int lsConv) {
    RasterMapping raster;
    raster.pictureWidth = pictureWidth;
    raster.pictureHeight = pictureHeight;
    raster.rowsPx = static_cast<qint32>(textLines) * rowHeight;
    if (pictureWidth < 1 || pictureHeight < 1)
        return raster;
    double cols = 0;
    if (lsConv == 0)
        cols = static_cast<double>(pictureWidth) * raster.rowsPx / pictureHeight;
    else
        cols = (lineSpacePx + rowHeight) * textLines * pictureWidth / pictureHeight;
    const qint64 rounded = Numbers::roundHalfEven(cols);
    raster.colsPx = rounded > 0 && rounded < (1LL << 30) ? static_cast<int>(rounded) : 0;
    if (raster.colsPx > 0)
        raster.xScale = static_cast<double>(pictureWidth) / raster.colsPx;
    if (raster.rowsPx > 0)
        raster.yScale = static_cast<double>(pictureHeight) / raster.rowsPx;
    return raster;
}
