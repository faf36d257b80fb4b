#pragma once

#include <QString>

// Trims the blank space around text art: end-of-file marks at the end, the indentation common to
// every non-empty line, blanks at the end of every line, and empty lines at the top and bottom.
// Indentation is counted in half-width columns: a space is 1, an ideographic space 2 (their
// Shift-JIS byte counts). When the common indentation ends in the middle of an ideographic space,
// its remaining column becomes one half-width space, so that the art keeps its alignment.
QString RemoveMargins(const QString& text);
