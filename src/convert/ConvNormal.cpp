#include "convert/ConvNormal.h"

#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Brightness of each palette character on its ground, normalised to 0..1. With a white ground a
// blank measures 1; with the reversed black ground the strokes are what is bright.
static std::vector<double> measureDensities(const ConversionInput& input, const PreparedRun& run) {
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

ConversionResult ConvNormal(const ConversionInput& input, RunServices& services) {
    ConversionResult result;
    PreparedRun run;
    if (const auto end = prepareRun(input, input.settings.TextTable1, services, run)) {
        result.outcome = *end;
        result.selectionCopy = run.selectionCopy;
        return result;
    }
    result.selectionCopy = run.selectionCopy;

    const std::vector<double> density = measureDensities(input, run);
    const qsizetype n = run.palette.size();
    const int colsPx = run.raster.colsPx;
    const int lines = input.settings.TextLines;
    // A line ends at its 999th character, so no choice reads beyond 1000 of the widest
    // characters: brightness beyond that is never used. A wide, low picture at many lines would
    // otherwise make a raster of hundreds of millions of columns for every row.
    const int widest = *std::max_element(run.charWidth.begin(), run.charWidth.end());
    const int reach = static_cast<int>(std::min<qint64>(colsPx, 1000LL * widest));
    std::vector<double> lum(static_cast<size_t>(reach) + 1, 0.0);
    int lastPct = -1;
    bool cut999 = false;
    QString out;

    for (int r = 0; r < lines; ++r) {
        for (int xv = 0; xv < reach; ++xv) {
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
