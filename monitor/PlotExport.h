// PlotExport: what a plot window writes out: its curve as CSV, the plot as a PNG, SVG or PDF
// picture through the plot library's own painter.
//
//   writeCsv("pushover.csv", {{"Step", steps}, {"Roof displacement", x}, {"Base shear", y}}, &error);
//   savePlotPicture(plot, "pushover.pdf", QSize(800, 500), &error);
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QVector>

class QCustomPlot;

struct CsvColumn {
    QString title;
    QVector<double> values;
};

// A header line of the titles, then one row per point; titles quoted where they hold a comma,
// quote or line break; numbers with '.' and 15 significant digits, trailing zeros dropped.
// A column shorter than the others leaves its cells empty.
QByteArray csvText(const QVector<CsvColumn>& columns);

// False with a reason when the file cannot be written.
bool writeCsv(const QString& path, const QVector<CsvColumn>& columns, QString* error);

// The picture type follows the extension: png, svg or pdf, in any case. SIZE in pixels.
bool savePlotPicture(QCustomPlot* plot, const QString& path, const QSize& size, QString* error);
