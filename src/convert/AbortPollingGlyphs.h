#pragma once

#include "convert/GlyphSource.h"
#include "convert/RunServices.h"

// The measuring box of a run, watched for the abort request. A large palette (thousands of
// kanji) takes a long time to measure and draw before the first character is placed; every few
// glyphs this source looks at RunServices::abortRequested() and, when it is set, ends the run by
// throwing RunAborted, which ConvDispatch turns into ConvOutcome::Aborted.
class AbortPollingGlyphs : public GlyphSource {
public:
    struct RunAborted {};

    AbortPollingGlyphs(const GlyphSource& glyphs, RunServices& services)
        : m_glyphs(glyphs), m_services(services) {}

    double textHeight(const QString& text) const override;
    double textWidth(const QString& text) const override;
    double pointsToPixels(double points) const override;
    GlyphBitmap drawCharacter(const QString& character, int width, int height) const override;
    qint64 strokeCount(const QString& character, int width, int height) const override;
    void strokeCounts(const std::vector<StrokeBox>& boxes,
                      std::vector<qint64>& counts) const override;
    // The copy draws without looking: only the run's own thread may ask the services.
    std::unique_ptr<GlyphSource> copyForThread() const override;

private:
    // Notes glyph calls; throws when their count passes a multiple of 16 with the abort asked.
    void poll(size_t glyphs = 1) const;

    const GlyphSource& m_glyphs;
    RunServices& m_services;
    mutable size_t m_calls = 0;
};
