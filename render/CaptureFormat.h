// Which picture format a capture file name asks for. Kept apart from the writer so
// the rule can be tested without a render window.
//
//   if (captureFormatFor("plan.PNG") == CaptureFormat::Png) ...
#pragma once

#include <QString>

enum class CaptureFormat { Png, Bmp, Jpeg, Unsupported };

// Judged by the part after the last dot of the file name, in any case; "jpg" and
// "jpeg" are both JPEG. A name without a dot is unsupported.
CaptureFormat captureFormatFor(const QString& fileName);
