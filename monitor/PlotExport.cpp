#include "PlotExport.h"

#include <qcustomplot.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

namespace {

// Every digit a double holds for sure: a sum of recorded values reads -387.3876, not the
// -387.3876000000001 of its last binary place.
constexpr int kDigits = 15;

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

QByteArray csvField(const QString& text)
{
    QByteArray field = text.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n'))
        return field;
    field.replace("\"", "\"\"");
    return '"' + field + '"';
}

}  // namespace

QByteArray csvText(const QVector<CsvColumn>& columns)
{
    QByteArray text;
    int rows = 0;
    for (int c = 0; c < columns.size(); ++c) {
        text += (c > 0 ? "," : "") + csvField(columns[c].title);
        rows = std::max(rows, int(columns[c].values.size()));
    }
    text += '\n';
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns.size(); ++c) {
            if (c > 0)
                text += ',';
            if (r < columns[c].values.size())
                text += QByteArray::number(columns[c].values[r], 'g', kDigits);
        }
        text += '\n';
    }
    return text;
}

bool writeCsv(const QString& path, const QVector<CsvColumn>& columns, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csvText(columns)) < 0 || !file.commit())
        return fail(
            error,
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

bool savePlotPicture(QCustomPlot* plot, const QString& path, const QSize& size, QString* error)
{
    const QString type = QFileInfo(path).suffix().toLower();
    const int w = size.width(), h = size.height();
    bool written = false;
    if (type == QLatin1String("png")) {
        written = plot->savePng(path, w, h);
    } else if (type == QLatin1String("pdf")) {
        written = plot->savePdf(path, w, h);
    } else if (type == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        QCPPainter painter;
        if (painter.begin(&svg)) {
            plot->toPainter(&painter, w, h);
            written = painter.end();
        }
    } else {
        return fail(error, QStringLiteral("Cannot save \"%1\": the picture type must be .png, .svg or .pdf.")
                               .arg(QFileInfo(path).fileName()));
    }
    if (!written || !QFileInfo(path).isFile() || QFileInfo(path).size() == 0)
        return fail(error, QStringLiteral("Cannot write %1.").arg(QDir::toNativeSeparators(path)));
    return true;
}
