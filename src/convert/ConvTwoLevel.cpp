#include "convert/ConvTwoLevel.h"

#include "convert/AbsDiff.h"
#include "convert/BlockMeans.h"
#include "convert/BlockScreen.h"
#include "convert/GlyphColumns.h"
#include "convert/LevelSad.h"
#include "convert/RowRunner.h"
#include "convert/RunMessages.h"
#include "convert/RunPreparation.h"
#include "convert/ScreenSums.h"
#include "convert/SourcePlane.h"
#include "convert/TwoLevelMaps.h"
#include "platform/CacheLineAllocator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// Scores are summed in another order than one pixel row after the other, which moves them by
// far less than this; a candidate is only passed over when it loses by more.
constexpr double safetyMargin = 1e-9;

// One thread's memory for its rows.
struct Scratch {
    ThreadOwnVector<double> band;        // the row band, column after column
    ThreadOwnVector<float> bandFloats;   // the same in single precision, for screening
    ThreadOwnVector<const double*> rows; // the source rows of the band
    ThreadOwnVector<double> columnSum;   // the sum of each band column
    int filled = 0;                      // the band's columns before this one are filled
    ThreadOwnVector<double> bound;       // each candidate's lower bound at x, in order of width
    ThreadOwnVector<int> survivors;      // the candidates of one width that may still win at x
    // With a palette of one width, per place of the row: the band's mean, block levels and
    // value levels, the best score so far and the character that has it.
    ThreadOwnVector<double> placeMean;
    ThreadOwnVector<quint8> placeLevels;
    ThreadOwnVector<quint8> placeValueLevels;
    ThreadOwnVector<double> placeBest;
    ThreadOwnVector<int> placeChoice;
};

// A palette of one width is scored a block of characters at a time over all places of a row,
// so that the block's maps stay in the cache (2,000 kanji maps are 4 MB).
constexpr int blockCharacters = 128;

// The band is filled this many columns ahead of the choices, so that what is filled is still
// in the cache when it is read, and a line cut at 999 characters never fills the columns it
// does not reach.
constexpr int fillAhead = 256;

// The best candidate so far and its score.
struct Choice {
    int index;
    double score;
};

// Everything a row needs, shared read-only by all threads.
class RowConverter {
public:
    RowConverter(const PreparedRun& run, const SourcePlane& plane, const GlyphColumns& glyphs,
                 int maxWidth)
        : m_run(run), m_plane(plane), m_glyphs(glyphs), m_maxWidth(maxWidth),
          m_rowHeight(run.rowHeight), m_colsPx(run.raster.colsPx), m_reach(columnsReached(run)) {
        for (qsizetype i = 0; i < run.palette.size(); ++i)
            if (isCandidate(run, i))
                m_candidates.push_back(static_cast<int>(i));
        std::stable_sort(m_candidates.begin(), m_candidates.end(),
                         [&](int a, int b) { return width(a) < width(b); });
        // With one width, by their means instead: the candidates that pass the bound at a place
        // are then one run of them, found by bisection.
        const bool oneWidth =
            !m_candidates.empty() && width(m_candidates.front()) == width(m_candidates.back());
        if (oneWidth)
            std::stable_sort(m_candidates.begin(), m_candidates.end(),
                             [&](int a, int b) { return glyphs.mean(a) < glyphs.mean(b); });
        for (size_t c = 0; c < m_candidates.size(); ++c) {
            const int i = m_candidates[c];
            m_sortedMean.push_back(glyphs.mean(i));
            if (m_groups.empty() || m_groups.back().width != width(i))
                m_groups.push_back({width(i), static_cast<int>(c), static_cast<int>(c)});
            ++m_groups.back().end;
        }
        if (oneWidth) {
            m_blockScreen.emplace(
                static_cast<int>(m_candidates.size()), BlockMeans::count(maxWidth, m_rowHeight),
                [&](int k, quint8* out) {
                    BlockMeans::compute(glyphs.values(m_candidates[static_cast<size_t>(k)]),
                                        maxWidth, m_rowHeight, out);
                });
        }
    }

    Scratch scratch() const {
        Scratch s;
        s.band.resize(static_cast<size_t>(m_reach) * static_cast<size_t>(m_rowHeight));
        s.bandFloats.resize(s.band.size());
        s.rows.resize(static_cast<size_t>(m_rowHeight));
        s.columnSum.resize(static_cast<size_t>(m_reach));
        s.bound.resize(m_candidates.size());
        s.survivors.resize(m_candidates.size());
        if (m_blockScreen) {
            s.placeMean.resize(999);
            s.placeLevels.resize(999 * static_cast<size_t>(levelStride()));
            s.placeValueLevels.resize(999 * static_cast<size_t>(m_maxWidth) *
                                      static_cast<size_t>(m_rowHeight));
            s.placeBest.resize(999);
            s.placeChoice.resize(999);
        }
        return s;
    }

    RowEnd convert(int r, Scratch& s, RowTicker& ticker, QString& line) const {
        startBand(r, s);
        if (m_blockScreen) {
            fillBand(m_reach, s);
            return convertOneWidth(s, ticker, line);
        }
        int x = 0;
        int col = 0;
        // The widest character must still fit with a pixel to spare.
        while (x + m_maxWidth < m_colsPx) {
            if (!ticker.beforeCharacter(x))
                return RowEnd::Aborted;
            if (col >= 999)
                return RowEnd::Reached999;
            if (x + m_maxWidth > s.filled)
                fillBand(std::min(m_reach, x + m_maxWidth + fillAhead), s);
            const int chosen = choose(x, s);
            line += m_run.palette[chosen];
            x += width(chosen);
            ++col;
        }
        return RowEnd::Done;
    }

private:
    int width(int i) const { return m_run.charWidth[static_cast<size_t>(i)]; }
    int levelStride() const { return BlockScreen::stride(m_blockScreen->blocks()); }
    quint8* valueLevels(size_t place, Scratch& s) const {
        return s.placeValueLevels.data() +
               place * static_cast<size_t>(m_maxWidth) * static_cast<size_t>(m_rowHeight);
    }

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
            const int first = m_candidates[nearestMean(mean)];
            const size_t p = static_cast<size_t>(place);
            const double* values = window(x, s);
            s.placeMean[p] = mean;
            BlockMeans::compute(values, m_maxWidth, m_rowHeight,
                                s.placeLevels.data() + p * static_cast<size_t>(levelStride()));
            LevelSad::quantize(values, m_maxWidth * m_rowHeight, valueLevels(p, s));
            s.placeChoice[p] = first;
            s.placeBest[p] = score(first, values, std::numeric_limits<double>::infinity());
        }
        for (size_t start = 0; start < m_candidates.size(); start += blockCharacters) {
            if (ticker.stopRequested())
                return false;
            const size_t end = std::min(m_candidates.size(), start + blockCharacters);
            for (int place = 0; place < places; ++place) {
                const size_t p = static_cast<size_t>(place);
                Choice best{s.placeChoice[p], s.placeBest[p]};
                scoreSurvivors(start, end, place, s, best);
                s.placeChoice[p] = best.index;
                s.placeBest[p] = best.score;
            }
        }
        return true;
    }

    // The place in the candidates (one width, sorted by mean) of one whose mean is nearest.
    size_t nearestMean(double mean) const {
        const auto& g = m_sortedMean;
        const size_t above =
            static_cast<size_t>(std::lower_bound(g.begin(), g.end(), mean) - g.begin());
        if (above == g.size())
            return above - 1;
        if (above > 0 && std::fabs(mean - g[above - 1]) <= std::fabs(mean - g[above]))
            return above - 1;
        return above;
    }

    // Candidates start..end-1 of a one-width palette at a place of the row: those whose mean
    // lets them still beat best, then whose block levels and then value levels do, are screened,
    // and best is updated. The means ascend, and |mean - g| grows away from the place's mean on
    // either side, so those that pass the first bound are one run; the best so far may be among
    // them and is merely scored again.
    void scoreSurvivors(size_t start, size_t end, int place, Scratch& s, Choice& best) const {
        const size_t p = static_cast<size_t>(place);
        const double mean = s.placeMean[p];
        const double cut = best.score + safetyMargin;
        const double* g = m_sortedMean.data();
        const double* from = std::partition_point(
            g + start, g + end, [&](double v) { return v < mean && std::fabs(mean - v) > cut; });
        const double* to = std::partition_point(
            from, g + end, [&](double v) { return v <= mean || std::fabs(mean - v) <= cut; });
        const int first = static_cast<int>(from - g);
        const int last = static_cast<int>(to - g);
        const int x = place * m_maxWidth;
        const int blocks = m_blockScreen->blocks();
        const quint8* window = s.placeLevels.data() + p * static_cast<size_t>(levelStride());
        const quint8* valueWindow = valueLevels(p, s);
        const int values = m_maxWidth * m_rowHeight;
        const qint64 blockLimit = ScreenSums::blockSadLimit(blocks, values, cut);
        const qint64 levelLimit = ScreenSums::levelSadLimit(values, cut);
        constexpr int lanes = BlockScreen::lanes;
        int left = 0;
        for (int group = first / lanes; group * lanes < last; ++group) {
            quint32 sums[lanes];
            m_blockScreen->sums(group, window, sums);
            // The lanes that pass, as bits: one branch per survivor instead of one per lane,
            // which the processor could not foresee.
            unsigned pass = 0;
            for (int j = 0; j < lanes; ++j)
                pass |= static_cast<unsigned>(sums[j] <= blockLimit) << j;
            const int lo = std::max(first - group * lanes, 0);
            const int hi = std::min(last - group * lanes, lanes);
            pass &= ((1u << hi) - 1) & ~((1u << lo) - 1);
            for (; pass != 0; pass &= pass - 1) {
                const int k = group * lanes + std::countr_zero(pass);
                const int i = m_candidates[static_cast<size_t>(k)];
                if (LevelSad::sum(valueWindow, m_glyphs.levels(i), values) <= levelLimit)
                    s.survivors[static_cast<size_t>(left++)] = i;
            }
        }
        screen(s.survivors.data(), left, m_maxWidth, x, s, best);
    }

    // Candidates list[0..count-1], all width wide, at x: estimated four at a time in single
    // precision, and only those whose estimate less its error could still beat best are summed
    // exactly. Nearly all lose by far more than the error, so few exact sums are left.
    void screen(const int* list, int count, int width, int x, const Scratch& s,
                Choice& best) const {
        const int values = width * m_rowHeight;
        const size_t offset = static_cast<size_t>(x) * m_rowHeight;
        for (int k = 0; k < count; k += 4) {
            const int length = std::min(4, count - k);
            const float* maps[4];
            for (int j = 0; j < 4; ++j)
                maps[j] = m_glyphs.floats(list[k + std::min(j, length - 1)]);
            double estimates[4];
            ScreenSums::sum4(s.bandFloats.data() + offset, maps, values, estimates);
            for (int j = 0; j < length; ++j) {
                if (!ScreenSums::mayReach(estimates[j], values, best.score + safetyMargin))
                    continue;
                const int i = list[k + j];
                consider(best, i, score(i, s.band.data() + offset, best.score + safetyMargin));
            }
        }
    }

    const double* window(int x, const Scratch& s) const {
        return s.band.data() + static_cast<size_t>(x) * m_rowHeight;
    }

    // Begins the band of text row r: its source rows, and nothing filled yet.
    void startBand(int r, Scratch& s) const {
        const qint32 top = static_cast<qint32>(r) * m_rowHeight;
        for (int y = 0; y < m_rowHeight; ++y)
            s.rows[static_cast<size_t>(y)] = m_plane.row(top + y);
        s.filled = 0;
    }

    // Fills the band's columns from s.filled up to end: the values, their single-precision copy
    // and the column sums. Neighbouring raster columns often sample the same source column; such
    // a column is copied from its neighbour.
    void fillBand(int end, Scratch& s) const {
        const size_t height = static_cast<size_t>(m_rowHeight);
        double* out = s.band.data() + static_cast<size_t>(s.filled) * height;
        float* single = s.bandFloats.data() + static_cast<size_t>(s.filled) * height;
        for (int xv = s.filled; xv < end; ++xv, out += height, single += height) {
            const int column = m_plane.columnOf(xv);
            const size_t at = static_cast<size_t>(xv);
            if (xv > 0 && column == m_plane.columnOf(xv - 1)) {
                const double* previous = out - height;
                const float* previousSingle = single - height;
                for (size_t y = 0; y < height; ++y) {
                    out[y] = previous[y];
                    single[y] = previousSingle[y];
                }
                s.columnSum[at] = s.columnSum[at - 1];
                continue;
            }
            double sum = 0;
            for (size_t y = 0; y < height; ++y) {
                out[y] = s.rows[y][column];
                single[y] = static_cast<float>(out[y]);
                sum += out[y];
            }
            s.columnSum[at] = sum;
        }
        s.filled = std::max(s.filled, end);
    }

    // The position of the smallest bound (the first of equal ones), found over four running
    // minima so that the comparisons do not wait for each other.
    static int smallestBound(const ThreadOwnVector<double>& bound) {
        const size_t count = bound.size();
        double least[4] = {bound[0], bound[0], bound[0], bound[0]};
        size_t c = 0;
        for (; c + 4 <= count; c += 4)
            for (size_t j = 0; j < 4; ++j)
                least[j] = std::min(least[j], bound[c + j]);
        for (; c < count; ++c)
            least[0] = std::min(least[0], bound[c]);
        const double smallest =
            std::min(std::min(least[0], least[1]), std::min(least[2], least[3]));
        return static_cast<int>(std::find(bound.begin(), bound.end(), smallest) - bound.begin());
    }

    // The character whose map differs least from the band at x: smallest score, then the widest,
    // then the first in the palette. Candidates are compared by that order alone, so they may be
    // scored in any order and skipped once they cannot win.
    int choose(int x, Scratch& s) const {
        // The mean absolute difference is at least the difference of the means; the candidate
        // with the smallest bound is scored first, to have a best score to compare with.
        double columns = 0;
        int width = 0;
        for (const WidthGroup& group : m_groups) {
            for (; width < group.width; ++width)
                columns += s.columnSum[static_cast<size_t>(x + width)];
            const double mean = columns / (static_cast<double>(width) * m_rowHeight);
            for (int c = group.begin; c < group.end; ++c)
                s.bound[static_cast<size_t>(c)] =
                    std::fabs(mean - m_sortedMean[static_cast<size_t>(c)]);
        }
        const int first = smallestBound(s.bound);
        const double* window = s.band.data() + static_cast<size_t>(x) * m_rowHeight;
        Choice best{m_candidates[static_cast<size_t>(first)], 0};
        best.score = score(best.index, window, std::numeric_limits<double>::infinity());

        // The rest that can still win, a width at a time.
        const double cut = best.score + safetyMargin;
        for (const WidthGroup& group : m_groups) {
            int left = 0;
            for (int c = group.begin; c < group.end; ++c) {
                s.survivors[static_cast<size_t>(left)] = m_candidates[static_cast<size_t>(c)];
                left += c != first && s.bound[static_cast<size_t>(c)] <= cut ? 1 : 0;
            }
            screen(s.survivors.data(), left, group.width, x, s, best);
        }
        return best.index;
    }

    // Takes candidate i when it beats the best so far: a smaller score, or the same score and a
    // wider character, or the same width and an earlier place in the palette.
    void consider(Choice& best, int i, double candidate) const {
        if (candidate < best.score ||
            (candidate == best.score &&
             (width(i) > width(best.index) || (width(i) == width(best.index) && i < best.index))))
            best = {i, candidate};
    }

    // Candidate i's score at window; above limit when it is certain to be above it.
    double score(int i, const double* window, double limit) const {
        const double count = static_cast<double>(width(i)) * m_rowHeight;
        const double limitSum = limit * count;
        const double sum =
            AbsDiff::sum(window, m_glyphs.values(i), width(i) * m_rowHeight, limitSum);
        // Most candidates stop early and lose; only a finished sum needs its mean.
        return sum <= limitSum ? sum / count : std::numeric_limits<double>::infinity();
    }

    const PreparedRun& m_run;
    const SourcePlane& m_plane;
    const GlyphColumns& m_glyphs;
    // The candidates narrowest first (in palette order within a width; with one width, by
    // their means), their means in that order, and where each width begins and ends in it.
    struct WidthGroup {
        int width;
        int begin;
        int end;
    };
    std::vector<int> m_candidates;
    std::vector<double> m_sortedMean;
    std::vector<WidthGroup> m_groups;
    // Only when every candidate is as wide: their block means, in the candidates' order.
    std::optional<BlockScreen> m_blockScreen;
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
    const auto end = prepareRun(input, input.settings.TextTable2, services, run, threads);
    result.selectionCopy = run.selectionCopy;
    if (end) {
        result.outcome = *end;
        return result;
    }

    const int maxWidth = *std::max_element(run.charWidth.begin(), run.charWidth.end());
    const std::optional<GlyphColumns> glyphs = buildTwoLevelMaps(input, run, maxWidth, threads);
    if (!glyphs) {
        services.showMessage(RunMessages::glyphsTooLarge());
        result.outcome = ConvOutcome::TooLarge;
        return result;
    }
    const SourcePlane plane(run.buffer, run.raster, input.levels, columnsReached(run),
                            abortPoll(services), run.pictureThreads);
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
