#pragma once

#include <QtGlobal>

#include <algorithm>
#include <functional>

// A look at the abort request made by the steps that walk a whole picture before a run places
// its first character (the selection copy, the pixel buffer, the brightness plane). A 12-million
// pixel picture takes them a good part of a second, so they look once per band of rows: true
// means stop now. An empty poll never stops.
using AbortPoll = std::function<bool()>;

namespace AbortPolling {

// About this many pixels between two looks: a few milliseconds of work, a negligible share of it
// spent looking.
constexpr qint64 pixelsPerLook = 1 << 16;

// The rows of a band for a picture this wide.
inline int rowsPerLook(qint64 width) {
    return static_cast<int>(
        std::clamp<qint64>(pixelsPerLook / std::max<qint64>(width, 1), 1, pixelsPerLook));
}

inline bool stop(const AbortPoll& poll) {
    return poll && poll();
}

} // namespace AbortPolling
