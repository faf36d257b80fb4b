#include "ReferenceConverters.h"

#include "convert/GlyphMaps.h"
#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace ReferenceConverters {

namespace {

// Brightness of each palette character on its ground, normalised to 0..1. With a white ground a
// blank measures 1; with the reversed black ground the strokes are what is bright.
std::vector<double> measureDensities(const ConversionInput& input, const PreparedRun& run) {
    const qsizetype n = run.palette.size();
    std::vector<double> density(static_cast<size_t>(n), 0.0);
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        const QString& c = run.palette[i];
        const int w = run.charWidth[static_cast<size_t>(i)];
        const int h = static_cast<int>(Numbers::roundHalfEven(input.glyphs.textHeight(c)));
        if (h < 1)
            continue;
        const GlyphBitmap glyph = input.glyphs.drawCharacter(c, w, h);
        qint64 bright = 0;
        for (quint8 stroke : glyph.stroke)
            bright += (stroke != 0) == input.settings.RvFlg ? 1 : 0;
        density[static_cast<size_t>(i)] =
            static_cast<double>(bright) / (w * static_cast<double>(h));
    }
    bool first = true;
    double lo = 0;
    double hi = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        const double d = density[static_cast<size_t>(i)];
        if (first || d > hi)
            hi = d;
        if (first || d < lo)
            lo = d;
        first = false;
    }
    // All characters alike (a one-character palette): every one normalises to 0, so the first
    // is always chosen.
    const double range = hi - lo;
    for (double& d : density)
        d = range > 0 ? (d - lo) / range : 0.0;
    return density;
}

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

// Every other candidate whose score lies within nearTieLimit of the chosen one's.
void recordNearTies(const PreparedRun& run, const std::vector<double>& scores, qsizetype chosen,
                    int line, int col, std::vector<NearTie>& nearTies) {
    NearTie tie{line, col, run.palette[chosen], {}};
    const double best = scores[static_cast<size_t>(chosen)];
    for (qsizetype i = 0; i < run.palette.size(); ++i) {
        if (i != chosen && isCandidate(run, i) && run.palette[i] != tie.chosen &&
            std::fabs(scores[static_cast<size_t>(i)] - best) < nearTieLimit)
            tie.others.append(run.palette[i]);
    }
    if (!tie.others.isEmpty())
        nearTies.push_back(tie);
}

} // namespace

ConversionResult normal(const ConversionInput& input, RunServices& services) {
    ConversionResult result;
    PreparedRun run;
    if (const auto end = prepareRun(input, input.settings.TextTable1, services, run, 1)) {
        result.outcome = *end;
        result.selectionCopy = run.selectionCopy;
        return result;
    }
    result.selectionCopy = run.selectionCopy;

    const std::vector<double> density = measureDensities(input, run);
    const qsizetype n = run.palette.size();
    const int colsPx = run.raster.colsPx;
    const int lines = input.settings.TextLines;
    std::vector<double> lum(static_cast<size_t>(colsPx) + 1, 0.0);
    int lastPct = -1;
    bool cut999 = false;
    QString out;

    for (int r = 0; r < lines; ++r) {
        for (int xv = 0; xv < colsPx; ++xv) {
            double acc = 0;
            for (int y = 0; y < run.rowHeight; ++y)
                acc += sampleLuma(run.buffer, run.raster, xv,
                                  static_cast<qint32>(r) * run.rowHeight + y);
            lum[static_cast<size_t>(xv)] = ToneMap(acc / run.rowHeight, input.levels);
        }
        QString line;
        int x = 0;
        int col = 0;
        while (x < colsPx) {
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
                double sum = 0;
                int cnt = 0;
                for (int k = 0; k < width && x + k < colsPx; ++k, ++cnt)
                    sum += lum[static_cast<size_t>(x + k)];
                const double diff = std::fabs(density[static_cast<size_t>(i)] - sum / cnt);
                if (chosen < 0 || diff < best) {
                    chosen = i;
                    best = diff;
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

ConversionResult twoLevel(const ConversionInput& input, RunServices& services,
                          std::vector<NearTie>* nearTies) {
    ConversionResult result;
    PreparedRun run;
    if (const auto end = prepareRun(input, input.settings.TextTable2, services, run, 1)) {
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
    std::vector<double> scores(static_cast<size_t>(n), 0.0);
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
                scores[static_cast<size_t>(i)] = score;
                if (chosen < 0 || score < best ||
                    (score == best && width > run.charWidth[static_cast<size_t>(chosen)])) {
                    chosen = i;
                    best = score;
                }
            }
            if (nearTies != nullptr && col < 999)
                recordNearTies(run, scores, chosen, r, col, *nearTies);
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

} // namespace ReferenceConverters
