// Batch commands of the command line: they evaluate or draw a script without
// showing the main window. Each returns the process exit status.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// Evaluates SCRIPT and prints the model record as JSON on standard output.
// 0: evaluated without error, 1: the script ended in an error, 2: SCRIPT unreadable.
int dumpModelMain(const QString& script);

struct RenderOptions {
    QString script;
    QString output;
    QString view = QStringLiteral("XYZ");
    bool perspective = false;
    QStringList labels;  // any of "free", "fixed", "elements"
    QSize size = QSize(800, 600);
};

// Interprets SCRIPT, draws it and captures the view into OUTPUT (3x the size).
// 0: success, 1: script error (picture still written), 2: nothing written.
int renderMain(const RenderOptions& options);
