#include "convert/ConvNormal.h"

#include "convert/GlyphThreads.h"
#include "convert/RowBrightness.h"
#include "convert/RowRunner.h"
#include "convert/RunPreparation.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Brightness of each palette character on its ground, normalised to 0..1. With a white ground a
// blank measures 1; with the reversed black ground the strokes are what is bright. The
// characters are drawn on all threads, each with its own copy of the measuring box.
std::vector<double> measureDensities(const ConversionInput& input, const PreparedRun& run,
                                     int threads) {
    const qsizetype n = run.palette.size();
    std::vector<double> density(static_cast<size_t>(n), 0.0);
    GlyphThreads::forEachBatch(
        input.glyphs, density.size(), threads, [&](const GlyphSource& source) {
            return [&, boxes = std::vector<StrokeBox>(), indices = std::vector<size_t>(),
                    counts = std::vector<qint64>()](size_t first, size_t last) mutable {
                boxes.clear();
                indices.clear();
                for (size_t k = first; k < last; ++k) {
                    const qsizetype i = static_cast<qsizetype>(k);
                    if (!isCandidate(run, i))
                        continue;
                    const QString& c = run.palette[i];
                    const int h = static_cast<int>(Numbers::roundHalfEven(source.textHeight(c)));
                    if (h < 1)
                        continue;
                    boxes.push_back({&c, run.charWidth[k], h});
                    indices.push_back(k);
                }
                source.strokeCounts(boxes, counts);
                for (size_t j = 0; j < boxes.size(); ++j) {
                    const qint64 w = boxes[j].width;
                    const qint64 h = boxes[j].height;
                    const qint64 bright = input.settings.RvFlg ? counts[j] : w * h - counts[j];
                    density[indices[j]] =
                        static_cast<double>(bright) / (w * static_cast<double>(h));
                }
            };
        });
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

// Palettes longer than this are searched by bisection rather than one character after another.
constexpr size_t sortedFrom = 32;

// One thread's memory for its rows.
struct Scratch {
    ThreadOwnVector<double> brightness; // the row's, per sampled source column
    ThreadOwnVector<double> stripMean; // the mean brightness over 1..maxWidth raster columns from x
    ThreadOwnVector<QChar> text;       // the line as it is chosen, handed over once it ends (its
                                       // room, grown by the first lines, is kept for the next)
};

// Everything a row needs, shared read-only by all threads. The sums are formed with the same
// additions in the same order as one raster point after the other would, so every brightness
// and every difference is the same double and the choice is exactly the plain loop's.
class RowConverter {
public:
    RowConverter(const PreparedRun& run, const RowBrightness& brightness,
                 std::vector<double> density)
        : m_run(run), m_brightness(brightness), m_density(std::move(density)),
          m_colsPx(run.raster.colsPx) {
        m_maxWidth = *std::max_element(run.charWidth.begin(), run.charWidth.end());
        m_isWidth.assign(static_cast<size_t>(m_maxWidth) + 1, false);
        for (qsizetype i = 0; i < run.palette.size(); ++i) {
            if (isCandidate(run, i)) {
                m_candidates.push_back(static_cast<int>(i));
                m_isWidth[static_cast<size_t>(run.charWidth[static_cast<size_t>(i)])] = true;
            }
        }
        if (m_candidates.size() > sortedFrom)
            groupByWidth();
    }

    Scratch scratch() const {
        Scratch s;
        s.stripMean.resize(static_cast<size_t>(m_maxWidth) + 1);
        return s;
    }

    RowEnd convert(int r, Scratch& s, RowTicker& ticker, QString& line) const {
        const double* brightness = m_brightness.row(r, s.brightness);
        s.text.clear();
        int x = 0;
        int col = 0;
        RowEnd end = RowEnd::Done;
        while (x < m_colsPx) {
            if (!ticker.beforeCharacter(x))
                return RowEnd::Aborted;
            if (col >= 999) {
                end = RowEnd::Reached999;
                break;
            }
            const int chosen = choose(x, brightness, s);
            const QString& entry = m_run.palette[chosen];
            s.text.insert(s.text.end(), entry.begin(), entry.end());
            x += m_run.charWidth[static_cast<size_t>(chosen)];
            ++col;
        }
        line.append(s.text.data(), static_cast<qsizetype>(s.text.size()));
        return end;
    }

private:
    // The character whose brightness is closest to the strip's; the first on equal differences.
    int choose(int x, const double* brightness, Scratch& s) const {
        // A character is judged on the columns that remain, so near the right edge a wide one
        // covers fewer than its width.
        const int reach = std::min(m_maxWidth, m_colsPx - x);
        double sum = 0;
        for (int k = 1; k <= reach; ++k) {
            sum += brightness[m_brightness.columnOf(x + k - 1)];
            if (m_isWidth[static_cast<size_t>(k)] || k == reach)
                s.stripMean[static_cast<size_t>(k)] = sum / k;
        }
        if (!m_groups.empty() && reach == m_maxWidth)
            return chooseSorted(s);
        int chosen = -1;
        double best = 0;
        for (const int i : m_candidates) {
            const int cnt = std::min(m_run.charWidth[static_cast<size_t>(i)], reach);
            const double diff = std::fabs(m_density[static_cast<size_t>(i)] -
                                          s.stripMean[static_cast<size_t>(cnt)]);
            if (chosen < 0 || diff < best) {
                chosen = i;
                best = diff;
            }
        }
        return chosen;
    }

    // Long palettes: the candidates of each width sorted by brightness, so the closest ones are
    // found by bisection. The computed difference |density - mean| never decreases as the
    // density moves away from the mean on either side, so the smallest difference lies next to
    // where the mean would be inserted, and equal differences lie in runs from there. Characters
    // of the same brightness (many kanji have the same number of stroke pixels) always score
    // alike, so each brightness is kept once, with the earliest of its characters.
    struct WidthGroup {
        int width = 0;
        std::vector<double> density; // distinct, ascending
        std::vector<int> index;      // the earliest candidate of that brightness
    };

    void groupByWidth() {
        std::vector<int> order = m_candidates;
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return m_density[static_cast<size_t>(a)] < m_density[static_cast<size_t>(b)];
        });
        for (int w = 1; w <= m_maxWidth; ++w) {
            if (!m_isWidth[static_cast<size_t>(w)])
                continue;
            WidthGroup group;
            group.width = w;
            for (const int i : order) {
                if (m_run.charWidth[static_cast<size_t>(i)] != w)
                    continue;
                // The sort is stable, so the first of equal brightnesses is the earliest.
                const double d = m_density[static_cast<size_t>(i)];
                if (group.density.empty() || group.density.back() != d) {
                    group.density.push_back(d);
                    group.index.push_back(i);
                }
            }
            m_groups.push_back(std::move(group));
        }
    }

    // The same choice as the plain scan (smallest difference, then earliest in the palette) when
    // every candidate covers its full width.
    int chooseSorted(const Scratch& s) const {
        int chosen = -1;
        double best = 0;
        for (const WidthGroup& group : m_groups) {
            const double mean = s.stripMean[static_cast<size_t>(group.width)];
            const auto& d = group.density;
            const size_t above =
                static_cast<size_t>(std::lower_bound(d.begin(), d.end(), mean) - d.begin());
            double least = std::numeric_limits<double>::infinity();
            if (above < d.size())
                least = std::fabs(d[above] - mean);
            if (above > 0)
                least = std::min(least, std::fabs(d[above - 1] - mean));
            if (chosen >= 0 && least > best)
                continue;
            int first = -1;
            for (size_t j = above; j < d.size() && std::fabs(d[j] - mean) == least; ++j)
                first = first < 0 ? group.index[j] : std::min(first, group.index[j]);
            for (size_t j = above; j > 0 && std::fabs(d[j - 1] - mean) == least; --j)
                first = first < 0 ? group.index[j - 1] : std::min(first, group.index[j - 1]);
            if (chosen < 0 || least < best || (least == best && first < chosen)) {
                chosen = first;
                best = least;
            }
        }
        return chosen;
    }

    const PreparedRun& m_run;
    const RowBrightness& m_brightness;
    std::vector<double> m_density;
    std::vector<int> m_candidates;
    std::vector<bool> m_isWidth; // some candidate is this wide
    std::vector<WidthGroup> m_groups;
    int m_maxWidth = 0;
    int m_colsPx;
};

} // namespace

ConversionResult ConvNormal(const ConversionInput& input, RunServices& services) {
    return ConvNormalWithThreads(input, services, 0);
}

ConversionResult ConvNormalWithThreads(const ConversionInput& input, RunServices& services,
                                       int threads) {
    ConversionResult result;
    PreparedRun run;
    const auto end = prepareRun(input, input.settings.TextTable1, services, run, threads);
    result.selectionCopy = run.selectionCopy;
    if (end) {
        result.outcome = *end;
        return result;
    }

    const int lines = input.settings.TextLines;
    const double work = static_cast<double>(lines) * run.raster.colsPx *
                        (run.rowHeight + static_cast<double>(run.palette.size()) / 4);
    const RowRunner runner(lines, run.raster.colsPx, threads, work);
    std::vector<double> density = measureDensities(input, run, threads);
    const RowBrightness brightness(run.buffer, run.raster, lines, run.rowHeight,
                                   columnsReached(run), input.levels, abortPoll(services),
                                   runner.threads());
    if (brightness.stopped()) {
        result.outcome = takeAbort(services);
        return result;
    }
    const RowConverter rows(run, brightness, std::move(density));
    result.outcome = convertRows(runner, rows, services);
    return result;
}
