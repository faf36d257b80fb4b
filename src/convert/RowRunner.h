#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"
#include "platform/VectorRegisters.h"

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// What a converter's row loop calls before every character: the progress and the abort check.
// On one thread it calls the run's services exactly as a plain loop would (the percentage when it
// changes, then yieldAndCheckAbort); on several threads it only counts the work done and reads
// the shared abort flag, and on the thread that started the run it also calls look every few
// hundred characters, which talks to the services when their time has come.
class RowTicker {
public:
    // One thread: every character goes to the services.
    RowTicker(RunServices& services, int lines, int colsPx, int& lastPct);
    // Several threads: this thread's progress into done, the abort request from abort; look, when
    // given, is called every 256 characters and between large pieces of work.
    RowTicker(std::atomic<bool>& abort, std::atomic<qint64>& done,
              const std::function<void()>* look = nullptr);

    void startRow(int r) {
        VectorRegisters::clearUpperHalves();
        m_row = r;
        m_credited = 0;
        m_count = 0;
        m_percentChangesAt = 0;
    }
    // Before the character at raster column x; false ends the run.
    bool beforeCharacter(int x) {
        if (m_services != nullptr)
            return reportAndYield(x);
        if (++m_count % creditEvery == 0) {
            credit(x);
            if (m_look != nullptr && m_count % lookEvery == 0)
                (*m_look)();
        }
        return !m_abort->load(std::memory_order_relaxed);
    }
    // Between large pieces of work that come before a row's characters: true when the run is to
    // stop. One thread answers false: its checks come before each character.
    bool stopRequested() {
        if (m_abort == nullptr)
            return false;
        if (m_look != nullptr)
            (*m_look)();
        return m_abort->load(std::memory_order_relaxed);
    }
    // The row's remaining columns count as done.
    void finishRow(int colsPx) { credit(colsPx); }

private:
    static constexpr int creditEvery = 64;
    static constexpr int lookEvery = 256;
    bool reportAndYield(int x);
    int percentAt(int x) const;
    void credit(int x);

    RunServices* m_services = nullptr;
    int m_lines = 0;
    int m_colsPx = 0;
    int* m_lastPct = nullptr;
    std::atomic<bool>* m_abort = nullptr;
    std::atomic<qint64>* m_done = nullptr;
    const std::function<void()>* m_look = nullptr;
    int m_row = 0;
    int m_percentChangesAt = 0; // the first column of the row where the percentage may change
    int m_credited = 0;
    int m_count = 0;
};

// How a row ended.
enum class RowEnd {
    Done,       // the line is complete
    Reached999, // the line holds 999 characters and another one would follow: it is cut here
    Aborted,    // the ticker asked to stop
};

// Converts text row r into line; slot (0..threads-1) names the calling thread's own scratch
// memory, so nothing is shared between threads and nothing is allocated per character.
using RowFunction = std::function<RowEnd(int r, int slot, RowTicker& ticker, QString& line)>;

// Runs the rows of a conversion, on several threads when that pays, and joins the lines. Rows are
// independent, so the text does not depend on the number of threads. The thread that calls run
// converts rows beside its helpers, and it is the only one that calls the services: the
// percentage when it changes, the abort check at least every 10 ms (so an abort ends the run well
// within 0.1 s), and the 999-column question at most once, for the first line in line order that
// reaches 999 characters; after OK every such line is cut at 999 characters.
class RowRunner {
public:
    // threads: 0 for automatic (all processors, or CHARLOOM_THREADS when set; one thread for a
    // run too small to gain from more), otherwise that many threads at most.
    // work: about how many elementary operations the run takes.
    RowRunner(int lines, int colsPx, int threads, double work);

    int threads() const { return m_threads; }

    // The outcome (HandedOff, Aborted or Cancelled999) and, when handed off, the text in out.
    ConvOutcome run(RunServices& services, const RowFunction& convertRow, QString& out) const;

private:
    ConvOutcome runOneThread(RunServices& services, const RowFunction& convertRow,
                             QString& out) const;

    int m_lines;
    int m_colsPx;
    int m_threads;
};

// Converts every row with rows.convert, each thread on its own scratch memory from
// rows.scratch(), and hands the finished text off. Returns the run's outcome.
template <typename Rows>
ConvOutcome convertRows(const RowRunner& runner, const Rows& rows, RunServices& services) {
    // Each thread's scratch is made by that thread, on its first row, and the arrays it writes
    // before every character lie on cache lines of their own (ThreadOwnVector): the calling
    // thread's heap also holds the run's shared tables, and a line that one thread writes and
    // another reads makes both wait for it at every access. The slots themselves lie on cache
    // lines of their own for the same reason.
    struct alignas(64) Slot {
        std::optional<decltype(std::declval<const Rows&>().scratch())> scratch;
    };
    std::vector<Slot> perThread(static_cast<size_t>(runner.threads()));
    QString out;
    const ConvOutcome outcome = runner.run(
        services,
        [&](int r, int slot, RowTicker& ticker, QString& line) {
            auto& scratch = perThread[static_cast<size_t>(slot)].scratch;
            if (!scratch)
                scratch.emplace(rows.scratch());
            return rows.convert(r, *scratch, ticker, line);
        },
        out);
    if (outcome == ConvOutcome::HandedOff)
        services.handOff(out);
    return outcome;
}
