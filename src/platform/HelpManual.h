#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

// The Help menu's manual: Manual.txt beside the program, opened in the desktop's text viewer.
// A missing manual gives a message; a viewer that cannot be started is ignored.
namespace HelpManual {

// The manual's path in the given folder.
QString manualPath(const QString& folder);

// Opens the manual of the given folder (the program's folder when empty).
void open(QWidget* parent, const QString& folder = QString());

using UrlOpener = std::function<bool(const QUrl& url)>;
// Tests see the url instead of a viewer starting (an empty function restores the desktop's).
void setOpenerForTests(UrlOpener opener);

} // namespace HelpManual
