#pragma once

#include "convert/SettingsRecord.h"
#include "settings/FontChoice.h"

#include <QDialog>
#include <QImage>

#include <memory>

namespace Ui {
class fomFontSet;
}

// The font dialog "ﾌｫﾝﾄの設定": face, size, line spacing and the four styles of the text font,
// with a live sample drawn as the text view draws text. It writes the settings record only on
// "戻る", after the size and spacing checks. A stored face that is neither installed nor
// substituted stays in the list and selected, so accepting keeps it; the sample then shows the
// font Qt draws in its place and names it.
class fomFontSet : public QDialog {
    Q_OBJECT

public:
    // Opens the dialog modally over parent; true when it was accepted.
    static bool showModal(SettingsRecord& settings, QWidget* parent);

    fomFontSet(SettingsRecord& settings, QWidget* parent = nullptr);
    ~fomFontSet() override;

    void FontNameSet(const QString& name);
    void FontSizeSet(double size);
    void LineSpaceSet(double lineSpace);
    void FontView();
    void cmdExit_Click();
    void cmdCancel_Click();

    // The last drawn sample (null before the first) and its text.
    QImage sampleImage() const { return m_sampleImage; }
    QString sampleText() const { return m_sampleText; }

private:
    void Form_Load();

    std::unique_ptr<Ui::fomFontSet> m_ui;
    SettingsRecord& m_settings;
    bool m_loading = false;
    // The sample box's font, kept between redraws: a size that is not accepted leaves it as is.
    FontChoice m_sampleFont;
    QImage m_sampleImage;
    QString m_sampleText;
};
