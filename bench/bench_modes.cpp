// B6, the modes of a large model: what the instrumented script's eigen wrapper costs the solver, and
// what reading the files costs Tolvane. The model is genmodel's frame cut before its analysis and
// followed by `eigen M`; tolvane-standin runs it once as the instrumented script (the call writes
// its modes) and once as the plain script (eigen is answered, nothing is written): the difference
// is the solver-side writing. A child then reads the files as the Modes window does
// (readRecordedModes) and puts the first mode in the model's node order with its largest
// translation, as choosing a row does; and reads, the same way, a copy whose every translation is
// non-zero, as a solver's are.
//
//   tolvane_bench_modes [--runs N] [--modes M] [--standin PATH] [--workdir DIR] model.tcl
//   tolvane_bench_modes --child DIR        one read of DIR/TolvaneResult; prints its figures
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <cstdio>

#include "BenchSupport.h"
#include "Instrumentation.h"
#include "ModelRecord.h"
#include "Modes.h"

namespace {

int childMain(const QString& dir)
{
    const double start = bench::nowMs();
    const QVector<EigenCall> calls = readRecordedModes(dir + "/TolvaneResult");
    const double read = bench::nowMs();
    if (calls.size() != 1 || !calls[0].problem.isEmpty())
        return 1;
    const EigenCall& call = calls[0];
    QVector<double> x, y, z;
    modeDisplacements(call, 0, call.nodeTags, &x, &y, &z);
    const double largest = largestTranslation(call, 0);
    const double chosen = bench::nowMs();
    QTextStream(stdout) << "read_ms " << read - start << " choose_ms " << chosen - read << " modes "
                        << call.modeCount() << " nodes " << call.nodeTags.size() << " largest " << largest
                        << " peak_kb " << bench::selfPeakRssKb() << "\n";
    return 0;
}

// The same call with every translation non-zero in 6 digits, as a solver's shapes are: the
// synthetic shapes are mostly zeros, which makes the files small.
bool writeDenseCopy(const QString& from, const QString& to, int modes, int nodes)
{
    QDir().mkpath(to + "/TolvaneResult");
    QFile::remove(to + "/TolvaneResult/Modes1Nodes.file");
    if (!QFile::copy(from + "/TolvaneResult/Modes1Nodes.file", to + "/TolvaneResult/Modes1Nodes.file"))
        return false;
    QFile f(to + "/TolvaneResult/Modes1.file");
    if (!f.open(QIODevice::WriteOnly))
        return false;
    char number[32];
    for (int m = 1; m <= modes; ++m) {
        QByteArray line = QByteArray::number(39.47841760 * (2 * m - 1) * (2 * m - 1), 'g', 10);
        for (int v = 0; v < 3 * nodes; ++v) {
            std::snprintf(number, sizeof number, " %g", -0.0123456789 * std::sin(0.37 * v + m));
            line += number;
        }
        f.write(line + '\n');
    }
    return true;
}

struct Series {
    QVector<double> wall, cpu;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "--child")
        return childMain(args[1]);

    int runs = 5, modes = 12;
    QString standin = TOLVANE_STANDIN;
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--modes"))
        modes = qMax(1, options["--modes"].toInt());
    if (options.contains("--standin"))
        standin = options["--standin"];
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: tolvane_bench_modes [--runs N] [--modes M] [--standin PATH] [--workdir DIR] model.tcl\n";
        return 2;
    }
    const QDir dir(QDir(workdir).filePath("modes"));
    QDir().mkpath(dir.path());
    const QString model = dir.filePath("model.tcl");
    const QString text = bench::modelWithoutAnalysis(QFileInfo(args[0]).absoluteFilePath());
    QFile out(model);
    if (text.isEmpty() || !out.open(QIODevice::WriteOnly) ||
        out.write((text + QString("\neigen %1\n").arg(modes)).toUtf8()) < 0) {
        err << "cannot write " << model << "\n";
        return 1;
    }
    out.close();
    QString error;
    if (!bench::evaluate(model) ||
        !writeInstrumentedScript(model, recorderBlock(*modelRecord(), {}, 0), &error)) {
        err << "cannot prepare the run of " << model << ": " << error << "\n";
        return 1;
    }
    const int nodes = modelRecord()->nodeTags.size();
    const QString instrumented = dir.filePath(instrumentedScriptName("model.tcl"));
    // The solver runs in the script's folder, where the result folder is made.
    QDir::setCurrent(dir.path());
    const QString self = QCoreApplication::applicationFilePath();

    Series writing, plain, reading;
    QVector<double> read, choose, peak;
    for (int i = 0; i < runs; ++i) {
        const bench::ChildRun a = bench::runChild(standin, {instrumented});
        const bench::ChildRun b = bench::runChild(standin, {model});
        const bench::ChildRun c = bench::runChild(self, {"--child", dir.path()});
        if (a.exitCode != 0 || b.exitCode != 0 || c.exitCode != 0 ||
            bench::outputValue(c.output, "modes") != modes || bench::outputValue(c.output, "nodes") != nodes) {
            err << "run " << i + 1 << " failed: stand-in " << a.exitCode << ", " << b.exitCode << ", reader "
                << c.exitCode << ": " << c.output;
            return 1;
        }
        writing.wall << a.wallMs;
        writing.cpu << a.cpuMs;
        plain.wall << b.wallMs;
        plain.cpu << b.cpuMs;
        reading.wall << c.wallMs;
        reading.cpu << c.cpuMs;
        read << bench::outputValue(c.output, "read_ms");
        choose << bench::outputValue(c.output, "choose_ms");
        peak << bench::outputValue(c.output, "peak_kb") / 1024.0;
        err << "run " << i + 1 << ": stand-in " << qRound(a.wallMs) << " ms writing, " << qRound(b.wallMs)
            << " ms plain; read " << qRound(read.last()) << " ms\n";
    }

    const QString dense = QDir(workdir).filePath("modes-dense");
    QVector<double> denseRead;
    if (!writeDenseCopy(dir.path(), dense, modes, nodes)) {
        err << "cannot write " << dense << "\n";
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        const bench::ChildRun c = bench::runChild(self, {"--child", dense});
        if (c.exitCode != 0) {
            err << "reading " << dense << " failed: " << c.output;
            return 1;
        }
        denseRead << bench::outputValue(c.output, "read_ms");
    }
    const qint64 denseBytes = QFileInfo(dense + "/TolvaneResult/Modes1.file").size();
    const qint64 bytes = QFileInfo(dir.filePath("TolvaneResult/Modes1.file")).size() +
                         QFileInfo(dir.filePath("TolvaneResult/Modes1Nodes.file")).size() +
                         QFileInfo(dir.filePath("TolvaneResult/Modes1Mass.file")).size();
    auto cell = [](const QVector<double>& v, int decimals = 0) {
        return bench::formatSummary(bench::summarise(v), decimals);
    };
    auto med = [](const QVector<double>& v) { return bench::summarise(v).median; };
    QTextStream o(stdout);
    o << "B6 modes: " << QFileInfo(args[0]).fileName() << " before its analysis, " << nodes << " nodes, eigen "
      << modes << ", files " << QString::number(bytes / 1048576.0, 'f', 1) << " MiB, " << runs
      << " runs, median (min to max)\n";
    o << "| measure | instrumented (writes the modes) | plain script | difference: the writing |\n";
    o << "|---|---|---|---|\n";
    o << "| stand-in wall time, ms | " << cell(writing.wall) << " | " << cell(plain.wall) << " | "
      << qRound(med(writing.wall) - med(plain.wall)) << " |\n";
    o << "| stand-in CPU (user + sys), ms | " << cell(writing.cpu) << " | " << cell(plain.cpu) << " | "
      << qRound(med(writing.cpu) - med(plain.cpu)) << " |\n";
    o << "\n| Tolvane | ms |\n|---|---|\n";
    o << "| reading the files (readRecordedModes) | " << cell(read, 1) << " |\n";
    o << "| reading the same with every translation non-zero (" << QString::number(denseBytes / 1048576.0, 'f', 1)
      << " MiB) | " << cell(denseRead, 1) << " |\n";
    o << "| choosing a mode (node order, largest translation) | " << cell(choose, 1) << " |\n";
    o << "| whole reading process | " << cell(reading.wall) << " |\n";
    o << "| peak RSS of the reading process, MiB | " << cell(peak, 1) << " |\n";
    return 0;
}
