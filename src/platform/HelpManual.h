#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

// The Help menu's manual: Manual.txt beside the program (the build tree, a portable copy) or, when
// installed under a prefix, in share/charloom next to bin; opened in the desktop's text viewer.
// A missing manual gives a message; a viewer that cannot be started is ignored.
namespace HelpManual {

// The manual's path in the given folder.
QString manualPath(const QString& folder);

// The manual of a program in the given folder: beside it, else in ../share/charloom; "" when
// neither exists.
QString locate(const QString& programFolder);

// Opens the manual of a program in the given folder (the program's folder when empty).
void open(QWidget* parent, const QString& folder = QString());

using UrlOpener = std::function<bool(const QUrl& url)>;
// Tests see the url instead of a viewer starting (an empty function restores the desktop's).
void setOpenerForTests(UrlOpener opener);

} // namespace HelpManual
