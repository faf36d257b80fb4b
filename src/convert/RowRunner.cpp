#include "convert/RowRunner.h"

#include "convert/WorkerPool.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
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

} // namespace

RowTicker::RowTicker(RunServices& services, int lines, int colsPx, int& lastPct)
    : m_services(&services), m_lines(lines), m_colsPx(colsPx), m_lastPct(&lastPct) {}

RowTicker::RowTicker(std::atomic<bool>& abort, std::atomic<qint64>& done)
    : m_abort(&abort), m_done(&done) {}

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
    return m_threads == 1 ? runOneThread(services, convertRow, out)
                          : runThreads(services, convertRow, out);
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

ConvOutcome RowRunner::runThreads(RunServices& services, const RowFunction& convertRow,
                                  QString& out) const {
    std::vector<QString> lines(static_cast<size_t>(m_lines));
    std::vector<RowEnd> ends(static_cast<size_t>(m_lines), RowEnd::Aborted);
    std::vector<char> finished(static_cast<size_t>(m_lines), 0);
    // Each on its own cache line: the workers read abort before every character, while done and
    // nextRow are written by them all the time.
    alignas(64) std::atomic<int> nextRow{0};
    alignas(64) std::atomic<bool> abort{false};
    alignas(64) std::atomic<qint64> done{0};
    int finishedCount = 0;
    bool questionAnswered = false; // the 999 question needs no prompt wake-up any more
    std::mutex mutex;
    std::condition_variable rowFinished;

    const auto work = [&](int slot) {
        RowTicker ticker(abort, done);
        for (;;) {
            const int r = nextRow.fetch_add(1);
            if (r >= m_lines || abort.load(std::memory_order_relaxed))
                return;
            ticker.startRow(r);
            QString line;
            line.reserve(lineCapacity);
            const RowEnd end = convertRow(r, slot, ticker, line);
            if (end == RowEnd::Aborted)
                return;
            ticker.finishRow(m_colsPx);
            const std::lock_guard lock(mutex);
            lines[static_cast<size_t>(r)] = std::move(line);
            ends[static_cast<size_t>(r)] = end;
            finished[static_cast<size_t>(r)] = 1;
            // The starting thread looks every poll interval anyway: it is woken early only to
            // ask the 999 question or to end the run, not once per line (a wake-up costs more
            // than converting a short line).
            if (++finishedCount == m_lines || (end == RowEnd::Reached999 && !questionAnswered))
                rowFinished.notify_one();
        }
    };
    WorkerPool::Crew workers(m_threads, work);
    const auto stop = [&](ConvOutcome outcome) {
        abort.store(true);
        workers.join();
        return outcome;
    };

    const double total = static_cast<double>(m_lines) * m_colsPx;
    int lastPct = -1;
    bool cut999 = false;
    int nextLine = 0; // lines before this one are finished and their question is settled
    while (nextLine < m_lines) {
        std::vector<RowEnd> ready;
        {
            std::unique_lock lock(mutex);
            rowFinished.wait_for(lock, pollInterval,
                                 [&] { return finished[static_cast<size_t>(nextLine)] != 0; });
            for (int r = nextLine; r < m_lines && finished[static_cast<size_t>(r)] != 0; ++r)
                ready.push_back(ends[static_cast<size_t>(r)]);
        }
        const int pct = std::min(
            99, static_cast<int>(std::floor(static_cast<double>(done.load()) / total * 100)));
        if (pct != lastPct) {
            lastPct = pct;
            services.showPercent(pct);
        }
        if (services.yieldAndCheckAbort())
            return stop(ConvOutcome::Aborted);
        for (const RowEnd end : ready) {
            if (end == RowEnd::Reached999 && !cut999) {
                if (!services.confirmCut999())
                    return stop(ConvOutcome::Cancelled999);
                cut999 = true;
                const std::lock_guard lock(mutex);
                questionAnswered = true;
            }
            ++nextLine;
        }
    }
    stop(ConvOutcome::HandedOff);
    out = joinLines(lines);
    return ConvOutcome::HandedOff;
}
