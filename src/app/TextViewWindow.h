#pragma once

#include "app/TextViewLink.h"
#include "textview/SelectionPictureProvider.h"
#include "textview/fomTextView.h"

#include <functional>
#include <memory>

class fomMain;

// Links the main window to the text view window: the converted text and its picture area go to
// the text view, which asks back for the picture area when it paints with the picture's colours.
class TextViewWindow : public TextViewLink, public SelectionPictureProvider {
public:
    explicit TextViewWindow(SettingsRecord& settings) : m_settings(settings) {}

    // Creates the text view beside the main window, sharing its file dialog.
    void attach(fomMain& main);
    fomTextView* window() const { return m_window.get(); }

    void View(const QString& text, const QImage& selectionCopy) override;
    void Read(const QString& path) override;
    void detachFile() override;
    bool isVisible() const override;
    void setRunMenusEnabled(bool enabled) override;
    void unload() override;

    QImage selectionPicture() const override { return m_selection; }
    QString pictureFileName() const override;

private:
    SettingsRecord& m_settings;
    std::unique_ptr<fomTextView> m_window;
    std::function<QString()> m_pictureFileName;
    QImage m_selection;
};
