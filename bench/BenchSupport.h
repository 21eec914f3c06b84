// Shared pieces of the benchmark programs: running a child process while measuring its wall
// time and peak memory, and summarising repeated measurements.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

namespace bench {

struct ChildRun {
    double wallMs = 0.0;  // from fork to the child's exit
    double cpuMs = 0.0;   // user plus system time of the child (and of its waited-for children)
    long peakRssKb = 0;   // the child's maximum resident set size
    int exitCode = -1;    // -1 when the child did not exit normally
    QByteArray output;    // the child's standard output
    QString stopped;      // why the child was killed before its end; empty when it ran its course
};

// Bounds a child that may run away with time or memory; 0 leaves a bound off.
struct ChildLimits {
    double maxWallMs = 0.0;
    long maxRssKb = 0;
};

// Runs program with arguments, standard output captured, standard error passed through.
ChildRun runChild(const QString& program, const QStringList& arguments);
// The same, killing the child once it passes a limit (its resident size is looked at every 50 ms).
ChildRun runChild(const QString& program, const QStringList& arguments, const ChildLimits& limits);

// The value after "key" in a line of "key value" pairs; NaN when absent.
double outputValue(const QByteArray& output, const QString& key);

struct Summary {
    double median = 0.0;
    double min = 0.0;
    double max = 0.0;
};
Summary summarise(QVector<double> values);

// "median (min to max)" with the given number of decimals.
QString formatSummary(const Summary& s, int decimals);

// Peak resident set size of this process, in KiB.
long selfPeakRssKb();

// Milliseconds since an arbitrary fixed point, from the monotonic clock.
double nowMs();

// Takes the leading "--name value" pairs off args; the rest are the program's operands.
QHash<QString, QString> takeOptions(QStringList& args);

// "WxH" with both sides positive.
bool parseSize(const QString& text, int* w, int* h);

// The text of genmodel's frame script without its analysis: everything before its gravity block.
// Empty when the file cannot be read.
QString modelWithoutAnalysis(const QString& script);

// Interprets script into the model record, saying on standard error why it failed.
bool evaluate(const QString& script);

}  // namespace bench
