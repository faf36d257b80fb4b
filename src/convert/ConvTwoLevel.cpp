#include "convert/ConvTwoLevel.h"

#include "convert/GlyphMaps.h"
#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Beyond this many doubles of glyph maps and row band a run would exhaust memory (a huge font
// with a long palette, or an extremely wide raster): it is refused with a message instead.
constexpr qint64 maxWorkEntries = qint64{1} << 26;

int glyphHeight(const ConversionInput& input, const QString& c) {
    const qint64 h = Numbers::roundHalfEven(input.glyphs.textHeight(c));
    return static_cast<int>(std::clamp<qint64>(h, 0, 1 << 20));
}

// The glyph maps of every character that can be placed; nothing when they and the row band
// would not fit.
std::optional<GlyphMaps> buildMaps(const ConversionInput& input, const PreparedRun& run,
                                   int maxWidth) {
    const qsizetype n = run.palette.size();
    std::vector<int> height(static_cast<size_t>(n), 0);
    int maxHeight = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        height[static_cast<size_t>(i)] = glyphHeight(input, run.palette[i]);
        maxHeight = std::max(maxHeight, height[static_cast<size_t>(i)]);
    }
    const qint64 entries = GlyphMaps::entriesFor(n, maxWidth, maxHeight, run.rowHeight);
    const qint64 bandEntries = static_cast<qint64>(run.rowHeight) * run.raster.colsPx;
    if (entries + bandEntries > maxWorkEntries)
        return std::nullopt;
    GlyphMaps maps(n, maxWidth, maxHeight, run.rowHeight);
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        const GlyphBitmap glyph = input.glyphs.drawCharacter(
            run.palette[i], run.charWidth[static_cast<size_t>(i)], height[static_cast<size_t>(i)]);
        maps.fill(i, glyph, input.settings.RvFlg, input.settings.NitiGosa);
    }
    return maps;
}

} // namespace

ConversionResult ConvTwoLevel(const ConversionInput& input, RunServices& services) {
    ConversionResult result;
    PreparedRun run;
    if (const auto end = prepareRun(input, input.settings.TextTable2, services, run)) {
        result.outcome = *end;
        result.selectionCopy = run.selectionCopy;
        return result;
    }
    result.selectionCopy = run.selectionCopy;

    const qsizetype n = run.palette.size();
    const int maxWidth = *std::max_element(run.charWidth.begin(), run.charWidth.end());
    const int colsPx = run.raster.colsPx;
    const int rowHeight = run.rowHeight;
    const std::optional<GlyphMaps> maps = buildMaps(input, run, maxWidth);
    if (!maps) {
        services.showMessage(RunMessages::glyphsTooLarge());
        result.outcome = ConvOutcome::TooLarge;
        return result;
    }

    const int lines = input.settings.TextLines;
    std::vector<double> band(static_cast<size_t>(colsPx) * static_cast<size_t>(rowHeight), 0.0);
    int lastPct = -1;
    bool cut999 = false;
    QString out;

    for (int r = 0; r < lines; ++r) {
        for (int y = 0; y < rowHeight; ++y) {
            const qint32 yv = static_cast<qint32>(r) * rowHeight + y;
            double* bandRow = band.data() + static_cast<size_t>(colsPx) * static_cast<size_t>(y);
            for (int xv = 0; xv < colsPx; ++xv)
                bandRow[xv] = ToneMap(sampleLuma(run.buffer, run.raster, xv, yv), input.levels);
        }
        QString line;
        int x = 0;
        int col = 0;
        // The widest character must still fit with a pixel to spare.
        while (x + maxWidth < colsPx) {
            const int pct = static_cast<qint16>(
                std::floor((static_cast<double>(x) / colsPx + r) / lines * 100));
            if (pct != lastPct) {
                lastPct = pct;
                services.showPercent(pct);
            }
            if (services.yieldAndCheckAbort()) {
                result.outcome = ConvOutcome::Aborted;
                return result;
            }
            qsizetype chosen = -1;
            double best = 0;
            for (qsizetype i = 0; i < n; ++i) {
                const int width = run.charWidth[static_cast<size_t>(i)];
                if (width < 1)
                    continue;
                const double score = maps->score(i, width, band.data(), colsPx, x);
                if (chosen < 0 || score < best ||
                    (score == best && width > run.charWidth[static_cast<size_t>(chosen)])) {
                    chosen = i;
                    best = score;
                }
            }
            x += run.charWidth[static_cast<size_t>(chosen)];
            if (col >= 999) {
                if (!cut999) {
                    if (!services.confirmCut999()) {
                        result.outcome = ConvOutcome::Cancelled999;
                        return result;
                    }
                    cut999 = true;
                }
                break;
            }
            line += run.palette[chosen];
            ++col;
        }
        out += line;
        if (r + 1 < lines)
            out += QStringLiteral("\r\n");
    }
    services.handOff(out);
    result.outcome = ConvOutcome::HandedOff;
    return result;
}
