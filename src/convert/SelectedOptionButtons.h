#pragma once

#include <QAbstractButton>
#include <QList>
#include <QtGlobal>

// The option-button form of SelectedOptionIndex: the buttons of one group in index order.
qint32 SelectedOptionIndex(const QList<const QAbstractButton*>& buttons, qint32 defaultIndex);
