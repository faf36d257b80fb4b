#pragma once

#include "app/TextViewLink.h"
#include "convert/SettingsRecord.h"
#include "platform/clsComDlg.h"
#include "textview/SelectionPictureProvider.h"
#include "textview/fomTextView.h"

#include <QImage>
#include <QPointer>

#include <functional>

// Links the main window to the text view window: created on first use, it shows converted text
// with the picture area it came from (for picture colours), and opens the font and colour dialogs
// from its menu. A font chosen there is handed back so the main window applies it too. The file
// dialogs share the main window's ComDlg once it is given.
class clsTextViewWindow : public TextViewLink, public SelectionPictureProvider {
public:
    explicit clsTextViewWindow(SettingsRecord& settings);
    ~clsTextViewWindow() override;

    // The shared file dialog object; until then the view keeps one of its own.
    void setComDlg(clsComDlg& comDlg) { m_comDlg = &comDlg; }
    // Runs after the text view's font command, for the main window's own FontSet.
    void setFontChangedHandler(std::function<void()> handler) {
        m_fontChanged = std::move(handler);
    }
    // The window, or null before the first use.
    fomTextView* window() const { return m_window; }

    void View(const QString& text, const QImage& selectionCopy) override;
    void Read(const QString& path) override;
    void detachFile() override;
    bool isVisible() const override;
    void setRunMenusEnabled(bool enabled) override;
    void applyFont() override;
    void unload() override;

    QImage selectionPicture() const override { return m_selection; }

private:
    fomTextView* ensureWindow();

    SettingsRecord& m_settings;
    clsComDlg m_ownComDlg;
    clsComDlg* m_comDlg = &m_ownComDlg;
    QPointer<fomTextView> m_window;
    QImage m_selection;
    std::function<void()> m_fontChanged;
};
