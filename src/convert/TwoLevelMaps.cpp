#include "convert/TwoLevelMaps.h"

#include "convert/GlyphMaps.h"
#include "convert/GlyphThreads.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <vector>

namespace {

// Beyond this many doubles of glyph maps and row band a run would exhaust memory (a huge font
// with a long palette, or an extremely wide raster): it is refused with a message instead.
constexpr qint64 maxWorkEntries = qint64{1} << 26;

int glyphHeight(const ConversionInput& input, const QString& c) {
    const qint64 h = Numbers::roundHalfEven(input.glyphs.textHeight(c));
    return static_cast<int>(std::clamp<qint64>(h, 0, 1 << 20));
}

} // namespace

std::optional<GlyphColumns> buildTwoLevelMaps(const ConversionInput& input, const PreparedRun& run,
                                              int maxWidth, int threads) {
    const qsizetype n = run.palette.size();
    std::vector<int> height(static_cast<size_t>(n), 0);
    std::vector<qsizetype> characters;
    int maxHeight = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        characters.push_back(i);
        height[static_cast<size_t>(i)] = glyphHeight(input, run.palette[i]);
        maxHeight = std::max(maxHeight, height[static_cast<size_t>(i)]);
    }
    const qint64 entries = GlyphMaps::entriesFor(n, maxWidth, maxHeight, run.rowHeight);
    const qint64 bandEntries = static_cast<qint64>(run.rowHeight) * columnsReached(run);
    if (entries + bandEntries > maxWorkEntries)
        return std::nullopt;

    std::optional<GlyphColumns> columns(std::in_place, run.charWidth, run.rowHeight);
    GlyphThreads::forEach(input.glyphs, characters.size(), threads, [&](const GlyphSource& source) {
        return [&, one = GlyphMaps(1, maxWidth, maxHeight, run.rowHeight)](size_t k) mutable {
            const qsizetype i = characters[k];
            const GlyphBitmap glyph =
                source.drawCharacter(run.palette[i], run.charWidth[static_cast<size_t>(i)],
                                     height[static_cast<size_t>(i)]);
            one.clear();
            one.fill(0, glyph, input.settings.RvFlg, input.settings.NitiGosa);
            columns->store(i, one, 0);
        };
    });
    return columns;
}
