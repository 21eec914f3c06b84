#include "LegendText.h"

#include <QFileInfo>

#include <cmath>

namespace {

// Digits after the point for three significant digits of a number whose leading digit stands at
// the power TEN, dropping zeros that say nothing.
QString digits(double value, int ten)
{
    QString text = QString::number(value, 'f', std::max(0, 2 - ten));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

}  // namespace

QString legendNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("-");
    if (value == 0.0)
        return QStringLiteral("0");
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    // Round to three significant digits first: 9999 is 10.0e3, not 9.999e3.
    double a = std::fabs(value);
    int ten = int(std::floor(std::log10(a)));
    const double unit = std::pow(10.0, ten - 2);
    a = std::round(a / unit) * unit;
    if (a >= std::pow(10.0, ten + 1))
        ++ten;
    if (a < 1e4 && a >= 1e-3)
        return sign + digits(a, ten);
    const int engineering = int(std::floor(ten / 3.0)) * 3;
    return sign + digits(a / std::pow(10.0, engineering), ten - engineering) + QLatin1Char('e') +
           QString::number(engineering);
}

QVector<double> legendTicks(double min, double max, int count)
{
    if (min == max || count < 2)
        return {min};
    QVector<double> ticks;
    for (int i = 0; i < count; ++i)
        ticks << (i == count - 1 ? max : min + (max - min) * i / (count - 1));
    return ticks;
}

QString legendFontFile()
{
    static const char* const candidates[] = {
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/dejavu/DejaVuSans.ttf",
        "C:/Windows/Fonts/arial.ttf",
        "/System/Library/Fonts/Supplemental/Arial.ttf",
        "/Library/Fonts/Arial.ttf",
    };
    for (const char* path : candidates) {
        if (QFileInfo(QString::fromLatin1(path)).isFile())
            return QString::fromLatin1(path);
    }
    return QString();
}

QString latinSymbols(const QString& text)
{
    static const struct {
        QChar greek;
        QChar latin;
    } letters[] = {{QChar(0x03C3), 's'}, {QChar(0x03C4), 't'}, {QChar(0x03B5), 'e'},
                   {QChar(0x03B3), 'g'}, {QChar(0x03BA), 'k'}};
    QString out = text;
    for (const auto& l : letters)
        out.replace(l.greek, l.latin);
    return out;
}
