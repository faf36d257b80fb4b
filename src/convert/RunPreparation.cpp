#include "convert/RunPreparation.h"

#include "convert/BandWork.h"
#include "convert/GlyphThreads.h"
#include "convert/RunMessages.h"
#include "convert/SelCopy.h"
#include "convert/TblExpand.h"
#include "platform/Numbers.h"

#include <algorithm>

std::optional<ConvOutcome> prepareRun(const ConversionInput& input, const QString& paletteText,
                                      RunServices& services, PreparedRun& run, int threads) {
    const SettingsRecord& settings = input.settings;
    if (input.picture == nullptr || input.picture->isNull()) {
        services.handOff(QString());
        return ConvOutcome::EmptyText;
    }
    // A picture of millions of pixels takes a while to copy: the abort request is looked at
    // between bands of rows.
    bool stopped = false;
    const AbortPoll poll = [&] {
        stopped = stopped || services.abortRequested();
        return stopped;
    };
    const qint16 copied = SelCopy(*input.picture, input.selection, run.selectionCopy, poll);
    if (copied == SelCopyStopped)
        return takeAbort(services);
    if (copied == -1) {
        services.showMessage(RunMessages::invalidSelection());
        return ConvOutcome::InvalidSelection;
    }
    run.pictureThreads = BandWork::threadsFor(
        static_cast<qint64>(run.selectionCopy.width()) * run.selectionCopy.height(), threads);
    run.buffer = BufFromPic(run.selectionCopy, poll, run.pictureThreads);
    if (stopped)
        return takeAbort(services);
    if (run.buffer.size() < 1)
        return ConvOutcome::EmptySelection;

    services.showPreparing();
    if (services.yieldAndCheckAbort())
        return ConvOutcome::Aborted;

    run.palette = TblExpand(paletteText);
    const QString text = run.palette.join(QString());
    run.lineSpacePx = input.glyphs.pointsToPixels(settings.LineSpace);
    const double textHeight = input.glyphs.textHeight(text);
    const qint64 rowHeight =
        Numbers::roundHalfEven(settings.LsConv == 0 ? run.lineSpacePx + textHeight : textHeight);
    if (!run.palette.isEmpty() && rowHeight < 1)
        return ConvOutcome::RowHeightTooSmall;
    run.rowHeight = static_cast<int>(std::min<qint64>(rowHeight, 1 << 20));

    run.charWidth.assign(static_cast<size_t>(run.palette.size()), 0);
    GlyphThreads::forEach(
        input.glyphs, run.charWidth.size(), threads, [&](const GlyphSource& source) {
            return [&](size_t k) {
                const qint64 width = Numbers::roundHalfEven(
                    source.textWidth(run.palette[static_cast<qsizetype>(k)]));
                run.charWidth[k] = static_cast<int>(std::clamp<qint64>(width, 0, 1 << 20));
            };
        });
    if (std::none_of(run.charWidth.begin(), run.charWidth.end(), [](int w) { return w > 0; })) {
        services.showMessage(RunMessages::paletteHasNoUsableCharacter());
        return ConvOutcome::EmptyPalette;
    }

    run.raster = RasterMapping::make(run.buffer.width, run.buffer.height, settings.TextLines,
                                     run.rowHeight, run.lineSpacePx, settings.LsConv);
    if (run.raster.colsPx < 1) {
        services.showMessage(RunMessages::selectionTooNarrow());
        return ConvOutcome::TooNarrow;
    }
    return std::nullopt;
}
