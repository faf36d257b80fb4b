#pragma once

#include "convert/ConversionInput.h"
#include "convert/RunServices.h"

#include <QString>
#include <QStringList>

#include <vector>

// The straightforward converters, one character after the other on one thread, exactly as the
// conversion steps read. The fast converters must choose the same characters; tests compare the
// two on many pictures and palettes.
namespace ReferenceConverters {

// Scores closer than this can come out in either order when the absolute differences are summed
// in another order, so a faster summation may choose either of the two.
constexpr double nearTieLimit = 1e-12;

// A place of the two-level text where other candidates scored within nearTieLimit of the chosen
// character: line and col locate the chosen character in the text.
struct NearTie {
    int line = 0;
    int col = 0;
    QString chosen;
    QStringList others;
};

ConversionResult normal(const ConversionInput& input, RunServices& services);
// nearTies, when given, receives every near tie of the run.
ConversionResult twoLevel(const ConversionInput& input, RunServices& services,
                          std::vector<NearTie>* nearTies = nullptr);

} // namespace ReferenceConverters
