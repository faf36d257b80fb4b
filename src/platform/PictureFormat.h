#pragma once

#include <QByteArray>

// The picture format a file's first bytes announce, for the common formats. Naming it lets the
// picture reader load only that format's plugin instead of asking every plugin to look at the
// file; the choice still comes from the content, never from the file name.
namespace PictureFormat {

// The number of leading bytes fromSignature() looks at.
constexpr int SignatureBytes = 8;

// "png", "jpeg", "gif" or "bmp"; empty when the bytes announce none of them.
QByteArray fromSignature(const QByteArray& head);

} // namespace PictureFormat
