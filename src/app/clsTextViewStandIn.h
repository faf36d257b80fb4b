#pragma once

#include "app/TextViewLink.h"

#include <QPlainTextEdit>
#include <QPointer>

// A plain window for converted text, used until the text view window is linked in: it shows
// the text in the text font's face and opens text files in code page 932.
class clsTextViewStandIn : public TextViewLink {
public:
    ~clsTextViewStandIn() override;
    void View(const QString& text, const QImage& selectionCopy) override;
    void Read(const QString& path) override;
    void detachFile() override;
    bool isVisible() const override;
    void setRunMenusEnabled(bool enabled) override;
    void unload() override;

private:
    QPlainTextEdit* window();
    QPointer<QPlainTextEdit> m_window;
};
