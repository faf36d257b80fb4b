#pragma once

#include "convert/AbortPoll.h"
#include "convert/ConversionInput.h"
#include "convert/PictureBuffer.h"
#include "convert/RunServices.h"
#include "convert/Sampling.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

// The steps both converters begin with: the selection copy and its buffer, the palette
// expansion, the row height, the character widths and the raster mapping.
struct PreparedRun {
    QImage selectionCopy;
    PictureBuffer buffer;
    QStringList palette;
    std::vector<int> charWidth;
    int rowHeight = 0;
    double lineSpacePx = 0;
    RasterMapping raster;
    // The threads that walk the whole picture (the pixel buffer, the brightness plane).
    int pictureThreads = 1;
};

// Runs the shared steps for the palette text of the mode. Returns the outcome when the run must
// end here (after the message or hand-off that such an end calls for); nothing when ready.
// threads: as for the rows of the run, 0 for automatic.
std::optional<ConvOutcome> prepareRun(const ConversionInput& input, const QString& paletteText,
                                      RunServices& services, PreparedRun& run, int threads);

// The run's abort request as the steps that walk the whole picture look at it (cheaply, between
// bands of rows).
inline AbortPoll abortPoll(RunServices& services) {
    return [&services] { return services.abortRequested(); };
}

// Ends a run that a poll stopped: the request is taken, as at any other abort.
inline ConvOutcome takeAbort(RunServices& services) {
    services.yieldAndCheckAbort();
    return ConvOutcome::Aborted;
}

// A line ends at its 999th character, so no choice reads beyond 1000 of the widest characters:
// the raster columns past that are never used. A wide, low picture at many lines would otherwise
// make rows of hundreds of millions of columns.
inline int columnsReached(const PreparedRun& run) {
    const int widest = *std::max_element(run.charWidth.begin(), run.charWidth.end());
    return static_cast<int>(std::min<qint64>(run.raster.colsPx, 1000LL * widest));
}

// A character of width 0 never advances a line, so it can never be placed.
inline bool isCandidate(const PreparedRun& run, qsizetype i) {
    return run.charWidth[static_cast<size_t>(i)] > 0;
}
