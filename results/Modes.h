// Modes: what every eigen call of a run wrote into TolvaneResult (see run/Instrumentation.h), read
// back without widgets, and the arithmetic of the Modes table and of the mode shape drawing.
//
//   const QVector<EigenCall> calls = readRecordedModes(dir + "/TolvaneResult");
//   const ModeRow row = modeRow(calls.last(), 0);        // period, frequency, mass ratios
//   modeDisplacements(calls.last(), 0, modelRecord()->nodeTags, &x, &y, &z);
//   const double scale = automaticScale(modelExtent(*modelRecord()), largestTranslation(calls.last(), 0));
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The modes one eigen call wrote.
struct EigenCall {
    int number = 0;  // the call's place in the run, from 1
    QVector<int> nodeTags;
    QVector<double> eigenvalues;
    // Translations 1-3 of mode m (0-based) at node i of nodeTags: shapes[(m * nodes + i) * 3 + c].
    QVector<double> shapes;
    // Per mode the participating mass ratios in percent along X, Y (and Z); empty without mass.
    QVector<QVector<double>> massRatios;
    QString problem;  // why the call's files could not be read; then it holds no mode

    int modeCount() const { return eigenvalues.size(); }
    bool hasMass() const { return !massRatios.isEmpty(); }
};

// Every call whose files lie in RESULTDIR, in call order. A call whose files are incomplete or
// inconsistent is kept with its problem, so that the user learns of it.
QVector<EigenCall> readRecordedModes(const QString& resultDir);

// One line of the Modes table. A mode whose eigenvalue is not positive does not oscillate: it has
// no frequency or period and is not animated.
struct ModeRow {
    int mode = 0;  // from 1
    double lambda = 0.0;
    bool oscillates = false;
    double omega = 0.0;      // rad/s, the square root of lambda
    double frequency = 0.0;  // Hz, omega / 2 pi
    double period = 0.0;     // s, 2 pi / omega
    QVector<double> massRatios;
};

ModeRow modeRow(const EigenCall& call, int mode);

// The table as text: the header, then one line per mode of every call, tab-separated, with the
// call's number first. Mass columns as many as the calls give directions ("no mass" where a call
// has none); the frequency columns of a mode that does not oscillate read "-".
QStringList modeTableLines(const QVector<EigenCall>& calls);
// The cells of one row after the call number, as the table lines and the Modes window show them.
QStringList modeRowTexts(const ModeRow& row, int massColumns);
int massColumnCount(const QVector<EigenCall>& calls);

// The length of the largest translation of the mode at any node.
double largestTranslation(const EigenCall& call, int mode);

// The mode's translations in the order of MODELTAGS; nodes the call did not record stay still.
void modeDisplacements(const EigenCall& call, int mode, const QVector<int>& modelTags, QVector<double>* x,
                       QVector<double>* y, QVector<double>* z);
