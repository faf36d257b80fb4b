#pragma once

#include <QString>

// The about box's product line, "Charloom Version 1.4": the revision is shown only when it is
// above 0 ("Charloom Version 1.4.3").
namespace VersionText {

QString productLine(const QString& product, int major, int minor, int revision);

// The line for this build, from its version "major.minor.revision".
QString currentProductLine();

} // namespace VersionText
