// Times whole conversions of the sample picture with the default font and palettes. Besides the
// time, each two-level benchmark reports TextLines x colsPx x n x RowHeight as "items", so equal
// items per second across sizes show that the cost stays proportional to that product.

#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/RunPreparation.h"
#include "platform/MemoryReuse.h"
#include "platform/PictureLoader.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Services that show nothing and never abort; the text is kept so that the work is not dropped.
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

QImage samplePicture;

SettingsRecord settingsFor(int mode, int lines, int paletteCopies) {
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextLines = static_cast<qint16>(lines);
    settings.TextTable2 = settings.TextTable2.repeated(paletteCopies);
    return settings;
}

// TextLines x colsPx x n x RowHeight of a two-level run with these settings.
double operationsOf(const SettingsRecord& settings, const GlyphSource& glyphs) {
    QuietServices services;
    const ConversionInput input{settings, &samplePicture, SelectionState{}, glyphs,
                                LevelPair{0, 255}};
    PreparedRun run;
    if (prepareRun(input, settings.TextTable2, services, run, 1))
        return 0;
    return static_cast<double>(settings.TextLines) * run.raster.colsPx * run.palette.size() *
           run.rowHeight;
}

void twoLevel(benchmark::State& state) {
    const SettingsRecord settings =
        settingsFor(1, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    const ConversionInput input{settings, &samplePicture, SelectionState{}, glyphs,
                                LevelPair{0, 255}};
    QuietServices services;
    for (auto _ : state) {
        const ConversionResult result = ConvTwoLevel(input, services);
        benchmark::DoNotOptimize(result.outcome);
    }
    const double operations = operationsOf(settings, glyphs);
    state.counters["ops"] = operations;
    state.counters["time_per_op"] =
        benchmark::Counter(operations * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void normal(benchmark::State& state) {
    const SettingsRecord settings = settingsFor(0, static_cast<int>(state.range(0)), 1);
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    const ConversionInput input{settings, &samplePicture, SelectionState{}, glyphs,
                                LevelPair{0, 255}};
    QuietServices services;
    for (auto _ : state) {
        const ConversionResult result = ConvNormal(input, services);
        benchmark::DoNotOptimize(result.outcome);
    }
}

} // namespace

// Arguments: TextLines, copies of the default palette (n = 19 per copy).
BENCHMARK(twoLevel)
    ->ArgNames({"lines", "palettes"})
    ->Args({100, 1})
    ->Args({50, 1})
    ->Args({25, 1})
    ->Args({50, 2})
    ->Args({50, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(normal)->ArgNames({"lines"})->Arg(100)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    MemoryReuse::keepFreedMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    FontSetup::installSubstitutions();
    const PictureLoader::Result picture =
        PictureLoader::load(QStringLiteral(CHARLOOM_SAMPLE_PICTURE));
    if (!picture.ok()) {
        std::fprintf(stderr, "cannot load %s\n", CHARLOOM_SAMPLE_PICTURE);
        return 1;
    }
    samplePicture = picture.image;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
