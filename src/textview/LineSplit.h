#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Splits a text at CR LF into lines. "" gives no line, a final CR LF does not start an empty last
// line, and empty lines between two CR LF count. Bare CR or LF do not break lines.
qint32 LineSplit(const QString& text, QStringList& lines);
