#include "convert/SelectedOptionButtons.h"

#include "convert/SelectedOptionIndex.h"

qint32 SelectedOptionIndex(const QList<const QAbstractButton*>& buttons, qint32 defaultIndex) {
    QList<bool> selected;
    selected.reserve(buttons.size());
    for (const QAbstractButton* button : buttons)
        selected.append(button != nullptr && button->isChecked());
    return SelectedOptionIndex(selected, defaultIndex);
}
