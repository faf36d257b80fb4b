#include "convert/RowRunner.h"

#include "convert/WorkerPool.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// Below about this many operations (a few milliseconds of work) starting threads costs more than
// it saves.
constexpr double workForThreads = 4e6;

// A line holds at most 999 characters (one more before the cut): room for them from the start.
constexpr qsizetype lineCapacity = 1000;

// How often the starting thread looks at the services while the rows are converted.
constexpr std::chrono::milliseconds pollInterval{10};

QString joinLines(std::vector<QString>& lines) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QString out;
    out.reserve(size);
    for (size_t r = 0; r < lines.size(); ++r) {
        if (r > 0)
            out += QStringLiteral("\r\n");
        out += lines[r];
        lines[r].clear();
    }
    return out;
}

// One run's rows on several threads. The calling thread converts rows beside its helpers: it is
// running already, so only the helpers wait to be woken, and a scheduler that puts a woken thread
// beside the one that woke it cannot stack two row threads on one processor while the other one
// idles. Between characters, every poll interval, the calling thread looks at the services.
class RowCrew {
public:
    RowCrew(RunServices& services, const RowFunction& convertRow, int lines, int colsPx,
            int threads)
        : m_services(services), m_convertRow(convertRow), m_lines(lines), m_colsPx(colsPx),
          m_text(static_cast<size_t>(lines)), m_ends(static_cast<size_t>(lines), RowEnd::Aborted),
          m_finished(static_cast<size_t>(lines), 0), m_done(static_cast<size_t>(threads)) {}

    ConvOutcome run(QString& out) {
        // A run stopped during its preparation starts no helper and converts no row.
        look();
        {
            const int helperCount = m_stopped ? 0 : static_cast<int>(m_done.size()) - 1;
            const WorkerPool::Crew helpers(helperCount, [this](int task) {
                RowTicker ticker(m_abort, m_done[static_cast<size_t>(task) + 1].columns);
                convertRows(task + 1, ticker);
            });
            if (!m_stopped) {
                const std::function<void()> lookWhenDue = [this] {
                    if (!m_stopped && std::chrono::steady_clock::now() >= m_nextLook)
                        look();
                };
                RowTicker ticker(m_abort, m_done[0].columns, &lookWhenDue);
                convertRows(0, ticker);
            }
            while (!m_stopped && m_nextLine < m_lines) {
                {
                    std::unique_lock lock(m_mutex);
                    m_rowFinished.wait_for(lock, pollInterval, [this] {
                        return m_finished[static_cast<size_t>(m_nextLine)] != 0;
                    });
                }
                look();
            }
        }
        if (m_stopped)
            return *m_stopped;
        out = joinLines(m_text);
        return ConvOutcome::HandedOff;
    }

private:
    // Converts rows, each taken by the first thread free, until none is left or the run stops.
    void convertRows(int slot, RowTicker& ticker) {
        for (;;) {
            const int r = m_nextRow.fetch_add(1);
            if (r >= m_lines || m_abort.load(std::memory_order_relaxed))
                return;
            ticker.startRow(r);
            QString line;
            line.reserve(lineCapacity);
            const RowEnd end = m_convertRow(r, slot, ticker, line);
            if (end == RowEnd::Aborted)
                return;
            ticker.finishRow(m_colsPx);
            const std::lock_guard lock(m_mutex);
            m_text[static_cast<size_t>(r)] = std::move(line);
            m_ends[static_cast<size_t>(r)] = end;
            m_finished[static_cast<size_t>(r)] = 1;
            // The calling thread looks every poll interval anyway: it is woken early only to
            // ask the 999 question or to end the run, not once per line (a wake-up costs more
            // than converting a short line).
            if (++m_finishedCount == m_lines || (end == RowEnd::Reached999 && !m_questionAnswered))
                m_rowFinished.notify_one();
        }
    }

    // On the calling thread: shows the percentage when it changes, takes an abort request, and
    // asks the 999 question for the lines finished in line order since the last look. Ends the
    // run when the user aborts or cancels.
    void look() {
        std::vector<RowEnd> ready;
        {
            const std::lock_guard lock(m_mutex);
            for (int r = m_nextLine; r < m_lines && m_finished[static_cast<size_t>(r)] != 0; ++r)
                ready.push_back(m_ends[static_cast<size_t>(r)]);
        }
        qint64 done = 0;
        for (const Progress& slot : m_done)
            done += slot.columns.load(std::memory_order_relaxed);
        const double total = static_cast<double>(m_lines) * m_colsPx;
        const int pct =
            std::min(99, static_cast<int>(std::floor(static_cast<double>(done) / total * 100)));
        if (pct != m_lastPct) {
            m_lastPct = pct;
            m_services.showPercent(pct);
        }
        if (m_services.yieldAndCheckAbort())
            return stop(ConvOutcome::Aborted);
        for (const RowEnd end : ready) {
            if (end == RowEnd::Reached999 && !m_cut999) {
                if (!m_services.confirmCut999())
                    return stop(ConvOutcome::Cancelled999);
                m_cut999 = true;
                const std::lock_guard lock(m_mutex);
                m_questionAnswered = true;
            }
            ++m_nextLine;
        }
        m_nextLook = std::chrono::steady_clock::now() + pollInterval;
    }

    void stop(ConvOutcome outcome) {
        m_stopped = outcome;
        m_abort.store(true);
    }

    RunServices& m_services;
    const RowFunction& m_convertRow;
    const int m_lines;
    const int m_colsPx;

    std::vector<QString> m_text;
    std::vector<RowEnd> m_ends;
    std::vector<char> m_finished;
    int m_finishedCount = 0;
    bool m_questionAnswered = false; // the 999 question needs no prompt wake-up any more
    std::mutex m_mutex;
    std::condition_variable m_rowFinished;
    // Each on a cache line of its own: every thread reads abort before every character and takes
    // the next row from nextRow, and each writes its progress often.
    alignas(64) std::atomic<int> m_nextRow{0};
    alignas(64) std::atomic<bool> m_abort{false};
    struct alignas(64) Progress {
        std::atomic<qint64> columns{0};
    };
    std::vector<Progress> m_done; // per thread, the raster columns converted

    // The calling thread's own.
    alignas(64) std::chrono::steady_clock::time_point m_nextLook;
    int m_lastPct = -1;
    bool m_cut999 = false;
    int m_nextLine = 0; // lines before this one are finished and their question is settled
    std::optional<ConvOutcome> m_stopped;
};

} // namespace

RowTicker::RowTicker(RunServices& services, int lines, int colsPx, int& lastPct)
    : m_services(&services), m_lines(lines), m_colsPx(colsPx), m_lastPct(&lastPct) {}

RowTicker::RowTicker(std::atomic<bool>& abort, std::atomic<qint64>& done,
                     const std::function<void()>* look)
    : m_abort(&abort), m_done(&done), m_look(look) {}

int RowTicker::percentAt(int x) const {
    return static_cast<qint16>(
        std::floor((static_cast<double>(x) / m_colsPx + m_row) / m_lines * 100));
}

// The percentage never decreases along a row (every step of its formula is monotonic), so it
// is computed only where it changes: that column is found by bisection once per change.
bool RowTicker::reportAndYield(int x) {
    if (x >= m_percentChangesAt) {
        const int pct = percentAt(x);
        if (pct != *m_lastPct) {
            *m_lastPct = pct;
            m_services->showPercent(pct);
        }
        int low = x;         // percentAt(low) == pct
        int high = m_colsPx; // the first column past the row, or one with a larger percentage
        while (high - low > 1) {
            const int middle = low + (high - low) / 2;
            (percentAt(middle) == pct ? low : high) = middle;
        }
        m_percentChangesAt = high;
    }
    return !m_services->yieldAndCheckAbort();
}

void RowTicker::credit(int x) {
    if (m_done == nullptr || x <= m_credited)
        return;
    m_done->fetch_add(x - m_credited, std::memory_order_relaxed);
    m_credited = x;
}

RowRunner::RowRunner(int lines, int colsPx, int threads, double work)
    : m_lines(lines), m_colsPx(colsPx) {
    int count = threads;
    if (count <= 0)
        count = work < workForThreads ? 1 : WorkerPool::defaultThreads();
    m_threads = std::clamp(count, 1, std::max(1, lines));
}

ConvOutcome RowRunner::run(RunServices& services, const RowFunction& convertRow,
                           QString& out) const {
    if (m_threads == 1)
        return runOneThread(services, convertRow, out);
    return RowCrew(services, convertRow, m_lines, m_colsPx, m_threads).run(out);
}

ConvOutcome RowRunner::runOneThread(RunServices& services, const RowFunction& convertRow,
                                    QString& out) const {
    int lastPct = -1;
    bool cut999 = false;
    RowTicker ticker(services, m_lines, m_colsPx, lastPct);
    std::vector<QString> lines(static_cast<size_t>(m_lines));
    for (int r = 0; r < m_lines; ++r) {
        ticker.startRow(r);
        lines[static_cast<size_t>(r)].reserve(lineCapacity);
        const RowEnd end = convertRow(r, 0, ticker, lines[static_cast<size_t>(r)]);
        if (end == RowEnd::Aborted)
            return ConvOutcome::Aborted;
        if (end == RowEnd::Reached999 && !cut999) {
            if (!services.confirmCut999())
                return ConvOutcome::Cancelled999;
            cut999 = true;
        }
    }
    out = joinLines(lines);
    return ConvOutcome::HandedOff;
}
