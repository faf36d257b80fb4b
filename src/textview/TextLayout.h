#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The text laid out for the view and its rendering: the lines, the distance from one line to the
// next and the extent of the whole text, all in pixels of the text font. The view, the whole-text
// bitmap and the horizontal start of each line use these same metrics.
class TextLayout {
public:
    TextLayout();

    // The font of every drawing of the text (FontSetup::textFont of the record).
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    const QFontMetricsF& metrics() const { return m_metrics; }

    // Lays out text with lineSpace points of extra line spacing.
    void TxtToPic(const QString& text, double lineSpace);

    const QString& LaidText() const { return m_laidText; }
    const QStringList& Lines() const { return m_lines; }
    qint32 LineCount() const { return m_lineCount; }
    qint32 LinePitch() const { return m_linePitch; }
    qint32 TxtWidth() const { return m_txtWidth; }
    qint32 TxtHeight() const { return m_txtHeight; }

    // The baseline of a line whose top is at y.
    double ascent() const { return m_metrics.ascent(); }

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    QString m_laidText;
    QStringList m_lines;
    qint32 m_lineCount = 0;
    qint32 m_linePitch = 0;
    qint32 m_txtWidth = 0;
    qint32 m_txtHeight = 0;
};
