#include "convert/TwoLevelMaps.h"

#include "convert/GlyphMaps.h"
#include "convert/RowRunner.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Beyond this many doubles of glyph maps and row band a run would exhaust memory (a huge font
// with a long palette, or an extremely wide raster): it is refused with a message instead.
constexpr qint64 maxWorkEntries = qint64{1} << 26;

// Palettes shorter than this are drawn on the calling thread: a thread costs more than they do.
constexpr size_t glyphsForThreads = 256;

// Threads take the characters a batch at a time, so that all finish at about the same moment.
constexpr size_t batch = 16;

int glyphHeight(const ConversionInput& input, const QString& c) {
    const qint64 h = Numbers::roundHalfEven(input.glyphs.textHeight(c));
    return static_cast<int>(std::clamp<qint64>(h, 0, 1 << 20));
}

// Joins the helper threads however the calling thread leaves, an abort included.
class Helpers {
public:
    explicit Helpers(std::atomic<bool>& stop) : m_stop(stop) {}
    ~Helpers() {
        m_stop.store(true);
        for (std::thread& thread : m_threads)
            thread.join();
    }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

    template <typename Work>
    void start(Work work) {
        m_threads.emplace_back(std::move(work));
    }

private:
    std::atomic<bool>& m_stop;
    std::vector<std::thread> m_threads;
};

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
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    // Draws batches of characters with source until none is left; each character's values
    // land in a part of columns of its own.
    const auto draw = [&](const GlyphSource& source) {
        GlyphMaps one(1, maxWidth, maxHeight, run.rowHeight);
        for (;;) {
            const size_t first = next.fetch_add(batch);
            if (first >= characters.size() || stop.load())
                return;
            const size_t last = std::min(characters.size(), first + batch);
            for (size_t k = first; k < last; ++k) {
                const qsizetype i = characters[k];
                const GlyphBitmap glyph =
                    source.drawCharacter(run.palette[i], run.charWidth[static_cast<size_t>(i)],
                                         height[static_cast<size_t>(i)]);
                one.clear();
                one.fill(0, glyph, input.settings.RvFlg, input.settings.NitiGosa);
                columns->store(i, one, 0);
            }
        }
    };

    const int wanted = threads > 0 ? threads : RowRunner::defaultThreads();
    std::vector<std::unique_ptr<GlyphSource>> copies;
    if (characters.size() >= glyphsForThreads) {
        for (int t = 1; t < wanted; ++t) {
            std::unique_ptr<GlyphSource> copy = input.glyphs.copyForThread();
            if (!copy)
                break;
            copies.push_back(std::move(copy));
        }
    }
    {
        Helpers helpers(stop);
        for (const std::unique_ptr<GlyphSource>& copy : copies)
            helpers.start([&draw, source = copy.get()] { draw(*source); });
        draw(input.glyphs);
    }
    return columns;
}
