// Times the converters on a 1024 x 768 picture (the sample picture scaled up) with the palettes
// text-art makers use: the default ones, the 95 printable ASCII characters and a range of about
// 2,000 full-width kanji; 26, 200 and 999 lines; on one thread and on all threads. The
// straightforward reference converters of the tests run beside them at small sizes, so the gain
// is measured side by side on the same machine load.
//
// Counters: chars/s, characters of text made per second; for the two-level mode also
// absdiff/s, the absolute differences a plain loop would compute (characters × RowHeight × the
// sum of the palette's widths) per second of wall time, to compare with the machine's peak;
// kernel benchmarks time the vector sum alone.

#include "common/ReferenceConverters.h"
#include "convert/AbsDiff.h"
#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/RunPreparation.h"
#include "convert/ScreenSums.h"
#include "convert/ThreadedRun.h"
#include "platform/MemoryReuse.h"
#include "platform/PictureLoader.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <limits>
#include <optional>
#include <random>
#include <vector>

namespace {

class QuietServices : public RunServices {
public:
    void showPreparing() override {}
    void showPercent(int) override {}
    bool yieldAndCheckAbort() override { return false; }
    bool confirmCut999() override { return true; }
    void showMessage(const QString&) override {}
    void handOff(const QString& text) override { m_text = text; }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

QImage picture;

enum Palette { Default, Ascii, Kanji };

SettingsRecord settingsFor(int mode, int palette, int lines) {
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextLines = static_cast<qint16>(lines);
    QString text;
    if (palette == Ascii) {
        for (char16_t c = 0x20; c <= 0x7E; ++c)
            text += QChar(c);
    } else if (palette == Kanji) {
        text = QStringLiteral("亜--腕");
    }
    if (!text.isEmpty())
        (mode == 0 ? settings.TextTable1 : settings.TextTable2) = text;
    return settings;
}

// Absolute differences a plain loop computes for this text: every placed character compared
// every palette character, width × RowHeight values each.
double plainAbsDiffs(const ConversionInput& input, const QString& text) {
    QuietServices services;
    PreparedRun run;
    if (prepareRun(input, input.settings.TextTable2, services, run, 1))
        return 0;
    double widths = 0;
    for (int w : run.charWidth)
        widths += w;
    const qsizetype characters = text.size() - 2 * text.count(QStringLiteral("\r\n"));
    return static_cast<double>(characters) * run.rowHeight * widths;
}

// The fast converter of the mode (0 normal, 1 two-level) on threads threads (0 all).
ConversionResult convertFast(int mode, const ConversionInput& input, RunServices& services,
                             int threads) {
    return mode == 0 ? ConvNormalWithThreads(input, services, threads)
                     : ConvTwoLevelWithThreads(input, services, threads);
}

// Arguments: mode (0 normal, 1 two-level), palette, lines, threads (0 all), reference (1).
void convert(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const SettingsRecord settings =
        settingsFor(mode, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    const int threads = static_cast<int>(state.range(3));
    const bool reference = state.range(4) != 0;
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    QuietServices services;
    for (auto _ : state) {
        ConversionResult result;
        if (reference)
            result = mode == 0 ? ReferenceConverters::normal(input, services)
                               : ReferenceConverters::twoLevel(input, services);
        else
            result = convertFast(mode, input, services, threads);
        benchmark::DoNotOptimize(result.outcome);
    }
    const QString& text = services.text();
    const double characters = static_cast<double>(text.size() - 2 * text.count(u'\n'));
    const double runs = static_cast<double>(state.iterations());
    state.counters["chars"] = characters;
    state.counters["chars/s"] = benchmark::Counter(characters * runs, benchmark::Counter::kIsRate);
    if (mode == 1)
        state.counters["absdiff/s"] =
            benchmark::Counter(plainAbsDiffs(input, text) * runs, benchmark::Counter::kIsRate);
}

// The processors this process may run on.
std::vector<int> allowedProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> processors;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &set))
                processors.push_back(cpu);
    return processors;
}

// Keeps the calling thread on one processor for as long as it lives.
class PinnedThread {
public:
    explicit PinnedThread(int cpu) {
        pthread_getaffinity_np(pthread_self(), sizeof m_before, &m_before);
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(cpu, &one);
        pthread_setaffinity_np(pthread_self(), sizeof one, &one);
    }
    ~PinnedThread() { pthread_setaffinity_np(pthread_self(), sizeof m_before, &m_before); }
    PinnedThread(const PinnedThread&) = delete;
    PinnedThread& operator=(const PinnedThread&) = delete;

private:
    cpu_set_t m_before;
};

// One thread against all threads, timed run by run in turn, so that both meet the same moments
// of a machine whose speed drifts over seconds. Arguments: mode, palette, lines, and desktop: 1
// runs each conversion as the desktop program does, through ThreadedRun, with a measuring box
// made for the run on the run's thread; and eachProcessor: 1 runs the one-thread side once on
// each processor in turn, so that processors that run at different speeds (a virtual machine's
// do, for minutes) count alike: the one-thread time is then that of a processor of the average
// speed, n / (1/t1 + ... + 1/tn). Counters: the medians of each side's runs and of the pairs'
// ratios; with eachProcessor also the median of the slowest processor's time over the fastest's.
void threadRatio(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const SettingsRecord settings =
        settingsFor(mode, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    const bool desktop = state.range(3) != 0;
    const std::vector<int> processors =
        state.range(4) != 0 ? allowedProcessors() : std::vector<int>{-1};
    const FontGlyphs kept(FontSetup::textFont(settings));
    QuietServices services;
    QObject context;
    std::atomic<bool> abortReq{false};
    // On processor cpu when it is not -1.
    const auto timed = [&](int threads, int cpu = -1) {
        const auto convert = [&](const GlyphSource& glyphs, RunServices& runServices) {
            std::optional<PinnedThread> pinned;
            if (cpu >= 0)
                pinned.emplace(cpu);
            const ConversionInput input{settings, &picture, SelectionState{}, glyphs,
                                        LevelPair{0, 255}};
            return convertFast(mode, input, runServices, threads);
        };
        const auto start = std::chrono::steady_clock::now();
        if (desktop)
            benchmark::DoNotOptimize(ThreadedRun::run(
                                         [&](RunServices& runServices) {
                                             const FontGlyphs glyphs(FontSetup::textFont(settings));
                                             return convert(glyphs, runServices);
                                         },
                                         &context, services, abortReq)
                                         .outcome);
        else
            benchmark::DoNotOptimize(convert(kept, services).outcome);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    // Qt keeps the glyphs it has drawn per thread, and a thread that draws a glyph the first
    // time takes ten times as long. The one-thread side finds its glyphs from its first run on;
    // two-thread runs first run for a while, until every thread has drawn its part of the
    // palette, as in a program that has converted before.
    const auto warmUntil = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (int run = 0; run < 2 || std::chrono::steady_clock::now() < warmUntil; ++run)
        timed(0);
    std::vector<double> one;
    std::vector<double> all;
    std::vector<double> ratio;
    std::vector<double> spread;
    for (auto _ : state) {
        double speeds = 0;
        double fastest = std::numeric_limits<double>::infinity();
        double slowest = 0;
        for (const int cpu : processors) {
            const double seconds = timed(1, cpu);
            speeds += 1 / seconds;
            fastest = std::min(fastest, seconds);
            slowest = std::max(slowest, seconds);
        }
        one.push_back(static_cast<double>(processors.size()) / speeds);
        spread.push_back(slowest / fastest);
        all.push_back(timed(0));
        ratio.push_back(one.back() / all.back());
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    state.counters["1t_ms"] = median(one) * 1e3;
    state.counters["2t_ms"] = median(all) * 1e3;
    state.counters["ratio"] = median(ratio);
    state.counters["ratio_best"] =
        *std::min_element(one.begin(), one.end()) / *std::min_element(all.begin(), all.end());
    if (processors.size() > 1)
        state.counters["spread"] = median(spread);
}

// The vector sums alone, on arrays in the cache: kernel 0 portable, 1 AVX2, 2 AVX-512 (skipped
// where the processor lacks it). screen:0 times AbsDiff::sum, one exact sum; screen:1 times
// ScreenSums::sum4, four single-precision estimates against one window, as the converter calls
// them.
void absDiffKernel(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const size_t index = static_cast<size_t>(state.range(1));
    const bool screen = state.range(2) != 0;
    const std::vector<AbsDiff::Kernel> exact = AbsDiff::kernels();
    const std::vector<ScreenSums::Kernel> estimates = ScreenSums::kernels();
    if (index >= exact.size() || index >= estimates.size()) {
        state.SkipWithError("this processor lacks that kernel");
        return;
    }
    state.SetLabel(screen ? estimates[index].name : exact[index].name);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    std::vector<double> a(4096);
    std::vector<double> b(8192);
    for (double& v : a)
        v = value(random);
    for (double& v : b)
        v = value(random);
    const std::vector<float> af(a.begin(), a.end());
    const std::vector<float> bf(b.begin(), b.end());
    const double inf = std::numeric_limits<double>::infinity();
    size_t offset = 0;
    for (auto _ : state) {
        const size_t glyph = (offset * 7) % 2048;
        if (screen) {
            const float* const glyphs[4] = {bf.data() + glyph, bf.data() + glyph + 2048,
                                            bf.data() + glyph + 4096, bf.data() + glyph + 6144};
            double sums[4];
            estimates[index].sum4(af.data() + offset, glyphs, count, sums);
            benchmark::DoNotOptimize(sums);
        } else {
            benchmark::DoNotOptimize(
                exact[index].sum(a.data() + offset, b.data() + glyph, count, inf));
        }
        offset = (offset + static_cast<size_t>(count)) % 2048;
    }
    state.counters["absdiff/s"] = benchmark::Counter(
        static_cast<double>(count) * (screen ? 4.0 : 1.0) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

void fastArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"mode", "palette", "lines", "threads", "reference"});
    for (const int mode : {1, 0})
        for (const int palette : {Default, Ascii, Kanji})
            for (const int lines : {26, 200, 999})
                for (const int threads : {1, 0})
                    b->Args({mode, palette, lines, threads, 0});
    // The sizes bench/peers.sh compares with chafa and jp2a: about 1000 x 400 characters.
    for (const int threads : {1, 0}) {
        b->Args({1, Ascii, 400, threads, 0});
        b->Args({0, Default, 400, threads, 0});
    }
}

void referenceArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"mode", "palette", "lines", "threads", "reference"});
    for (const int mode : {1, 0})
        for (const int palette : {Default, Ascii, Kanji})
            b->Args({mode, palette, 26, 1, 1});
}

} // namespace

BENCHMARK(convert)->Apply(fastArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(convert)
    ->Name("reference")
    ->Apply(referenceArguments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(threadRatio)
    ->ArgNames({"mode", "palette", "lines", "desktop", "eachProcessor"})
    ->Apply([](benchmark::internal::Benchmark* b) {
        for (const auto& [desktop, eachProcessor] : {std::pair{0, 0}, {1, 0}, {0, 1}}) {
            b->Args({1, Default, 999, desktop, eachProcessor});
            b->Args({1, Ascii, 400, desktop, eachProcessor});
            b->Args({1, Ascii, 999, desktop, eachProcessor});
            b->Args({1, Kanji, 200, desktop, eachProcessor});
            b->Args({0, Default, 400, desktop, eachProcessor});
            b->Args({0, Default, 999, desktop, eachProcessor});
            b->Args({0, Ascii, 999, desktop, eachProcessor});
            b->Args({0, Kanji, 999, desktop, eachProcessor});
        }
    })
    // Pairs for three seconds: a pair of the slowest cases takes more than one, and a single
    // pair shows this machine's moments more than the threads.
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(absDiffKernel)
    ->ArgNames({"count", "kernel", "screen"})
    ->ArgsProduct({{112, 256}, {0, 1, 2}, {0, 1}});

int main(int argc, char** argv) {
    MemoryReuse::keepFreedMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FontSetup::installSubstitutions();
    const PictureLoader::Result sample =
        PictureLoader::load(QStringLiteral(CHARLOOM_SAMPLE_PICTURE));
    if (!sample.ok()) {
        std::fprintf(stderr, "cannot load %s\n", CHARLOOM_SAMPLE_PICTURE);
        return 1;
    }
    picture = sample.image.scaled(1024, 768, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    // --save-pictures FOLDER: the pictures for bench/peers.sh, picture.jpg (1024 x 768) and
    // photo.jpg (4000 x 3000), as JPEG files that every tool reads.
    if (argc == 3 && qstrcmp(argv[1], "--save-pictures") == 0) {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        const QImage photo =
            sample.image.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const bool saved = picture.save(folder + QStringLiteral("/picture.jpg"), "JPEG", 95) &&
                           photo.save(folder + QStringLiteral("/photo.jpg"), "JPEG", 95);
        return saved ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
