#include "convert/SampledLines.h"

SampledLines SampledLines::of(qint64 count, const std::function<int(qint64)>& sourceOf) {
    SampledLines lines;
    lines.indexOf.assign(static_cast<size_t>(count), 0);
    for (qint64 v = 0; v < count; ++v) {
        const int source = sourceOf(v);
        if (lines.kept.empty() || lines.kept.back() != source)
            lines.kept.push_back(source);
        lines.indexOf[static_cast<size_t>(v)] = static_cast<int>(lines.kept.size()) - 1;
    }
    return lines;
}
