#pragma once

#include <QImage>
#include <QString>

// What the main window needs from the text view window: show converted text, open a text file,
// forget the file its text came from, lock its font and colour commands during a run, and close
// at shutdown.
class TextViewLink {
public:
    virtual ~TextViewLink() = default;
    // Shows the window (created when needed) with the text; selectionCopy is the converted
    // picture area, for colours taken from the picture.
    virtual void View(const QString& text, const QImage& selectionCopy) = 0;
    virtual void Read(const QString& path) = 0;
    // TextFileName becomes "", and a loaded window is captioned "Text View".
    virtual void detachFile() = 0;
    virtual bool isVisible() const = 0;
    // The font and colour menu items of a visible window.
    virtual void setRunMenusEnabled(bool enabled) = 0;
    // Closes the window, which records its placement.
    virtual void unload() = 0;
};
