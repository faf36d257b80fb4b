#include "convert/ConvTwoLevel.h"

#include "convert/AbsDiff.h"
#include "convert/GlyphColumns.h"
#include "convert/GlyphMaps.h"
#include "convert/RowRunner.h"
#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"
#include "convert/SourcePlane.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Beyond this many doubles of glyph maps and row band a run would exhaust memory (a huge font
// with a long palette, or an extremely wide raster): it is refused with a message instead.
constexpr qint64 maxWorkEntries = qint64{1} << 26;

// Scores are summed in another order than one pixel row after the other, which moves them by
// far less than this; a candidate is only passed over when it loses by more.
constexpr double safetyMargin = 1e-9;

// A line ends at its 999th character, so no choice reads beyond 1000 of the widest characters:
// the band needs no more columns. A wide, low picture at many lines would otherwise make a band
// of hundreds of millions of columns.
int reach(const PreparedRun& run, int maxWidth) {
    return static_cast<int>(std::min<qint64>(run.raster.colsPx, 1000LL * maxWidth));
}

int glyphHeight(const ConversionInput& input, const QString& c) {
    const qint64 h = Numbers::roundHalfEven(input.glyphs.textHeight(c));
    return static_cast<int>(std::clamp<qint64>(h, 0, 1 << 20));
}

// The glyph maps of every character that can be placed, laid out for scoring; nothing when they
// and the row band would not fit. Each map is built in a grid for one character and copied out.
std::optional<GlyphColumns> buildMaps(const ConversionInput& input, const PreparedRun& run,
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
    const qint64 bandEntries = static_cast<qint64>(run.rowHeight) * reach(run, maxWidth);
    if (entries + bandEntries > maxWorkEntries)
        return std::nullopt;
    GlyphMaps one(1, maxWidth, maxHeight, run.rowHeight);
    std::optional<GlyphColumns> columns(std::in_place, run.charWidth, run.rowHeight);
    for (qsizetype i = 0; i < n; ++i) {
        if (!isCandidate(run, i))
            continue;
        const GlyphBitmap glyph = input.glyphs.drawCharacter(
            run.palette[i], run.charWidth[static_cast<size_t>(i)], height[static_cast<size_t>(i)]);
        one.clear();
        one.fill(0, glyph, input.settings.RvFlg, input.settings.NitiGosa);
        columns->store(i, one, 0);
    }
    return columns;
}

// One thread's memory for its rows.
struct Scratch {
    std::vector<double> band;       // the row band, column after column
    std::vector<double> columnSum;  // the sum of each band column
    std::vector<double> windowMean; // the band's mean over widths 1..maxWidth from x
    std::vector<double> bound;      // each candidate's lower bound at x
    // With a palette of one width, per place of the row: the band's mean, the best score so
    // far and the character that has it.
    std::vector<double> placeMean;
    std::vector<double> placeBest;
    std::vector<int> placeChoice;
};

// A palette of one width is scored a block of characters at a time over all places of a row,
// so that the block's maps stay in the cache (2,000 kanji maps are 4 MB).
constexpr int blockCharacters = 128;

// Everything a row needs, shared read-only by all threads.
class RowConverter {
public:
    RowConverter(const PreparedRun& run, const SourcePlane& plane, const GlyphColumns& glyphs,
                 int maxWidth)
        : m_run(run), m_plane(plane), m_glyphs(glyphs), m_maxWidth(maxWidth),
          m_rowHeight(run.rowHeight), m_colsPx(run.raster.colsPx), m_reach(reach(run, maxWidth)) {
        for (qsizetype i = 0; i < run.palette.size(); ++i)
            if (isCandidate(run, i))
                m_candidates.push_back(static_cast<int>(i));
        m_oneWidth = std::all_of(m_candidates.begin(), m_candidates.end(),
                                 [&](int i) { return width(i) == maxWidth; });
    }

    Scratch scratch() const {
        Scratch s;
        s.band.resize(static_cast<size_t>(m_reach) * static_cast<size_t>(m_rowHeight));
        s.columnSum.resize(static_cast<size_t>(m_reach));
        s.windowMean.resize(static_cast<size_t>(m_maxWidth) + 1);
        s.bound.resize(static_cast<size_t>(m_run.palette.size()));
        if (m_oneWidth) {
            s.placeMean.resize(999);
            s.placeBest.resize(999);
            s.placeChoice.resize(999);
        }
        return s;
    }

    RowEnd convert(int r, Scratch& s, RowTicker& ticker, QString& line) const {
        fillBand(r, s);
        if (m_oneWidth)
            return convertOneWidth(s, ticker, line);
        int x = 0;
        int col = 0;
        // The widest character must still fit with a pixel to spare.
        while (x + m_maxWidth < m_colsPx) {
            if (!ticker.beforeCharacter(x))
                return RowEnd::Aborted;
            if (col >= 999)
                return RowEnd::Reached999;
            const int chosen = choose(x, s);
            line += m_run.palette[chosen];
            x += width(chosen);
            ++col;
        }
        return RowEnd::Done;
    }

private:
    int width(int i) const { return m_run.charWidth[static_cast<size_t>(i)]; }

    // Every character has the same width, so the places of a row are known before any choice:
    // all are chosen first, then the line is made, one character after the other as usual.
    RowEnd convertOneWidth(Scratch& s, RowTicker& ticker, QString& line) const {
        int places = 0;
        while (places < 999 && places * m_maxWidth + m_maxWidth < m_colsPx)
            ++places;
        if (!chooseAllPlaces(places, s, ticker))
            return RowEnd::Aborted;
        for (int place = 0; place * m_maxWidth + m_maxWidth < m_colsPx; ++place) {
            if (!ticker.beforeCharacter(place * m_maxWidth))
                return RowEnd::Aborted;
            if (place >= 999)
                return RowEnd::Reached999;
            line += m_run.palette[s.placeChoice[static_cast<size_t>(place)]];
        }
        return RowEnd::Done;
    }

    // The same choice as choose() at every place, a block of candidates at a time. False when
    // the run is to stop.
    bool chooseAllPlaces(int places, Scratch& s, RowTicker& ticker) const {
        const double count = static_cast<double>(m_maxWidth) * m_rowHeight;
        for (int place = 0; place < places; ++place) {
            const int x = place * m_maxWidth;
            double sum = 0;
            for (int k = 0; k < m_maxWidth; ++k)
                sum += s.columnSum[static_cast<size_t>(x + k)];
            const double mean = sum / count;
            int first = m_candidates.front();
            double firstBound = std::numeric_limits<double>::infinity();
            for (const int i : m_candidates) {
                const double bound = std::fabs(mean - m_glyphs.mean(i));
                first = bound < firstBound ? i : first;
                firstBound = std::min(bound, firstBound);
            }
            const size_t p = static_cast<size_t>(place);
            s.placeMean[p] = mean;
            s.placeChoice[p] = first;
            s.placeBest[p] = score(first, window(x, s), std::numeric_limits<double>::infinity());
        }
        for (size_t start = 0; start < m_candidates.size(); start += blockCharacters) {
            if (ticker.stopRequested())
                return false;
            const size_t end = std::min(m_candidates.size(), start + blockCharacters);
            for (int place = 0; place < places; ++place) {
                const int x = place * m_maxWidth;
                const size_t p = static_cast<size_t>(place);
                for (size_t c = start; c < end; ++c) {
                    const int i = m_candidates[c];
                    double& best = s.placeBest[p];
                    int& chosen = s.placeChoice[p];
                    if (i == chosen ||
                        std::fabs(s.placeMean[p] - m_glyphs.mean(i)) > best + safetyMargin)
                        continue;
                    const double candidate = score(i, window(x, s), best + safetyMargin);
                    if (candidate < best || (candidate == best && i < chosen)) {
                        chosen = i;
                        best = candidate;
                    }
                }
            }
        }
        return true;
    }

    const double* window(int x, const Scratch& s) const {
        return s.band.data() + static_cast<size_t>(x) * m_rowHeight;
    }

    void fillBand(int r, Scratch& s) const {
        const qint32 top = static_cast<qint32>(r) * m_rowHeight;
        for (int y = 0; y < m_rowHeight; ++y) {
            const double* source = m_plane.row(top + y);
            double* out = s.band.data() + y;
            for (int xv = 0; xv < m_reach; ++xv, out += m_rowHeight)
                *out = source[m_plane.columnOf(xv)];
        }
        const double* column = s.band.data();
        for (int xv = 0; xv < m_reach; ++xv, column += m_rowHeight) {
            double sum = 0;
            for (int y = 0; y < m_rowHeight; ++y)
                sum += column[y];
            s.columnSum[static_cast<size_t>(xv)] = sum;
        }
    }

    // The character whose map differs least from the band at x: smallest score, then the widest,
    // then the first in the palette. Candidates are compared by that order alone, so they may be
    // scored in any order and skipped once they cannot win.
    int choose(int x, Scratch& s) const {
        double sum = 0;
        for (int w = 1; w <= m_maxWidth; ++w) {
            sum += s.columnSum[static_cast<size_t>(x + w - 1)];
            s.windowMean[static_cast<size_t>(w)] = sum / (static_cast<double>(w) * m_rowHeight);
        }
        // The mean absolute difference is at least the difference of the means.
        int first = m_candidates.front();
        double firstBound = std::numeric_limits<double>::infinity();
        for (const int i : m_candidates) {
            const double bound =
                std::fabs(s.windowMean[static_cast<size_t>(width(i))] - m_glyphs.mean(i));
            s.bound[static_cast<size_t>(i)] = bound;
            first = bound < firstBound ? i : first;
            firstBound = std::min(bound, firstBound);
        }
        const double* window = s.band.data() + static_cast<size_t>(x) * m_rowHeight;
        int chosen = first;
        double best = score(first, window, std::numeric_limits<double>::infinity());
        for (const int i : m_candidates) {
            if (i == first || s.bound[static_cast<size_t>(i)] > best + safetyMargin)
                continue;
            const double candidate = score(i, window, best + safetyMargin);
            if (candidate < best ||
                (candidate == best &&
                 (width(i) > width(chosen) || (width(i) == width(chosen) && i < chosen)))) {
                chosen = i;
                best = candidate;
            }
        }
        return chosen;
    }

    // Candidate i's score at window; above limit when it is certain to be above it.
    double score(int i, const double* window, double limit) const {
        const double count = static_cast<double>(width(i)) * m_rowHeight;
        const double sum =
            AbsDiff::sum(window, m_glyphs.values(i), width(i) * m_rowHeight, limit * count);
        return sum / count;
    }

    const PreparedRun& m_run;
    const SourcePlane& m_plane;
    const GlyphColumns& m_glyphs;
    std::vector<int> m_candidates;
    bool m_oneWidth = false; // every candidate is maxWidth wide
    int m_maxWidth;
    int m_rowHeight;
    int m_colsPx;
    int m_reach; // the band's columns
};

} // namespace

ConversionResult ConvTwoLevel(const ConversionInput& input, RunServices& services) {
    return ConvTwoLevelWithThreads(input, services, 0);
}

ConversionResult ConvTwoLevelWithThreads(const ConversionInput& input, RunServices& services,
                                         int threads) {
    ConversionResult result;
    PreparedRun run;
    const auto end = prepareRun(input, input.settings.TextTable2, services, run);
    result.selectionCopy = run.selectionCopy;
    if (end) {
        result.outcome = *end;
        return result;
    }

    const int maxWidth = *std::max_element(run.charWidth.begin(), run.charWidth.end());
    const std::optional<GlyphColumns> glyphs = buildMaps(input, run, maxWidth);
    if (!glyphs) {
        services.showMessage(RunMessages::glyphsTooLarge());
        result.outcome = ConvOutcome::TooLarge;
        return result;
    }
    const SourcePlane plane(run.buffer, run.raster, &input.levels, reach(run, maxWidth),
                            abortPoll(services));
    if (plane.stopped()) {
        result.outcome = takeAbort(services);
        return result;
    }
    const RowConverter rows(run, plane, *glyphs, maxWidth);

    const int lines = input.settings.TextLines;
    const double work = static_cast<double>(lines) * run.raster.colsPx * run.rowHeight *
                        static_cast<double>(run.palette.size());
    const RowRunner runner(lines, run.raster.colsPx, threads, work);
    result.outcome = convertRows(runner, rows, services);
    return result;
}
