#include "CaptureFormat.h"

#include <QFileInfo>

CaptureFormat captureFormatFor(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return CaptureFormat::Unsupported;
    const QString extension = name.mid(dot + 1).toLower();
    if (extension == QLatin1String("png"))
        return CaptureFormat::Png;
    if (extension == QLatin1String("bmp"))
        return CaptureFormat::Bmp;
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return CaptureFormat::Jpeg;
    return CaptureFormat::Unsupported;
}
