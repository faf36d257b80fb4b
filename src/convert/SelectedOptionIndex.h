#pragma once

#include <QList>
#include <QtGlobal>

// Turns a group of option buttons into an index: the first selected one from the lowest index, or
// the default when none is selected (a settings value with no button of its own opens a group with
// nothing selected). The states come from the buttons in index order.
qint32 SelectedOptionIndex(const QList<bool>& selected, qint32 defaultIndex);
