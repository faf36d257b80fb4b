#pragma once

#include <QString>
#include <QStringList>

// The one file a user may name when starting the program. The arguments are joined by single
// blanks, so a path with blanks arrives whole whether or not it was quoted, and the quoted form
// "path" is accepted as well.
namespace CommandLine {

// The arguments after the program's name, joined by single blanks.
QString join(const QStringList& arguments);

// The name without its surrounding double quotes, when it is longer than 2 characters and
// begins and ends with one.
QString unquote(const QString& commandLine);

// A name ending in ".txt" in any case opens in the text view.
bool isTextFile(const QString& name);

} // namespace CommandLine
