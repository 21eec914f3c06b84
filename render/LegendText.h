// LegendText: how the colour legend writes its numbers and letters. Numbers get three significant
// digits, in engineering notation (an exponent that is a multiple of three) past 1e4 or below 1e-3,
// so that a legend reads "-188", "0.125", "12.3e3", "990e-6" rather than "-188." or "1.2345e+04".
//
//   legendNumber(12345.0);           // "12.3e3"
//   legendTicks(-10, 30, 5);         // -10, 0, 10, 20, 30
//   latinSymbols("σxx_3");           // "sxx_3", for a font without Greek letters
#pragma once

#include <QString>
#include <QVector>

QString legendNumber(double value);

// COUNT values from MIN to MAX, evenly spaced; one value when MIN equals MAX.
QVector<double> legendTicks(double min, double max, int count);

// A font file at hand that holds Greek letters, for the legend's text; empty when none is known.
QString legendFontFile();

// TEXT with the Greek letters of component names spelled with Latin ones.
QString latinSymbols(const QString& text);
