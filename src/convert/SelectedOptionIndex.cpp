#include "convert/SelectedOptionIndex.h"

qint32 SelectedOptionIndex(const QList<bool>& selected, qint32 defaultIndex) {
    for (qsizetype i = 0; i < selected.size(); ++i) {
        if (selected[i])
            return static_cast<qint32>(i);
    }
    return defaultIndex;
}
