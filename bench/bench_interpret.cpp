// B1, interpretation: a model script evaluated through the shared evaluation function (as
// --dump-model does, without printing), side by side with plain tclsh evaluating the same
// script with every solver command an empty procedure (bench/stubs.tcl). Each run is a fresh
// process, so wall time and peak memory are measured the same way for both. A third column runs
// tclsh with procedures that keep what the model record keeps, in Tcl lists (stubs.tcl --record).
//
//   tolvane_bench_interpret [--runs N] script.tcl
//   tolvane_bench_interpret --child script.tcl     one evaluation; prints its figures
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>

#include "BenchSupport.h"
#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "ScriptEvaluation.h"

#ifndef TOLVANE_BENCH_STUBS
#define TOLVANE_BENCH_STUBS "stubs.tcl"
#endif

namespace {

int childMain(const QString& script)
{
    const double start = bench::nowMs();
    ModelInterpreter interpreter;
    const EvaluationResult result = evaluateScriptFile(interpreter, script);
    const double elapsed = bench::nowMs() - start;
    const ModelRecord* record = modelRecord();
    QTextStream out(stdout);
    out << "eval_us " << qint64(elapsed * 1000.0) << " nodes " << record->nodeTags.size() << " elements "
        << record->elementTags.size() << " fixes " << record->fixNodeTags.size() << " ok "
        << (result.code == 0 ? 1 : 0) << "\n";
    if (result.code != 0)
        QTextStream(stderr) << "evaluation failed: " << record->statusMessage << "\n";
    return result.code == 0 ? 0 : 1;
}

struct Series {
    QVector<double> wallMs, cpuMs, evalMs, rssMb;
};

void addRun(Series& s, const bench::ChildRun& run, double evalUs)
{
    s.wallMs << run.wallMs;
    s.cpuMs << run.cpuMs;
    s.evalMs << evalUs / 1000.0;
    s.rssMb << run.peakRssKb / 1024.0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == "--child")
        return childMain(args[1]);

    int runs = 5;
    QString tclsh = "tclsh8.6";
    QString stubs = TOLVANE_BENCH_STUBS;
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--tclsh"))
        tclsh = options["--tclsh"];
    if (options.contains("--stubs"))
        stubs = options["--stubs"];
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: tolvane_bench_interpret [--runs N] [--tclsh PATH] [--stubs PATH] script.tcl\n";
        return 2;
    }
    const QString script = QFileInfo(args[0]).absoluteFilePath();
    const QString self = QCoreApplication::applicationFilePath();

    Series ours, plain, recording;
    QByteArray counts;
    for (int i = 0; i < runs; ++i) {
        // Alternate the two so that drifting load on the machine hits both alike.
        const bench::ChildRun a = bench::runChild(self, {"--child", script});
        const bench::ChildRun b = bench::runChild(tclsh, {stubs, script});
        const bench::ChildRun c = bench::runChild(tclsh, {stubs, "--record", script});
        if (a.exitCode != 0 || b.exitCode != 0 || c.exitCode != 0) {
            err << "run " << i + 1 << " failed: tolvane exit " << a.exitCode << ", tclsh exit " << b.exitCode
                << ", recording tclsh exit " << c.exitCode << "\n";
            return 1;
        }
        addRun(recording, c, bench::outputValue(c.output, "eval_us"));
        addRun(ours, a, bench::outputValue(a.output, "eval_us"));
        addRun(plain, b, bench::outputValue(b.output, "eval_us"));
        counts = a.output;
        err << "run " << i + 1 << ": tolvane " << qRound(a.wallMs) << " ms, tclsh " << qRound(b.wallMs)
            << " ms, recording tclsh " << qRound(c.wallMs) << " ms\n";
    }

    QTextStream out(stdout);
    out << "B1 interpretation: " << QFileInfo(script).fileName() << ", " << runs
        << " runs, median (min to max)\n";
    out << "model: " << bench::outputValue(counts, "nodes") << " nodes, "
        << bench::outputValue(counts, "elements") << " elements, " << bench::outputValue(counts, "fixes")
        << " fix commands\n";
    out << "| measure | tolvane | tclsh, empty procs | tolvane / tclsh | tclsh, recording procs | "
           "tolvane / recording |\n";
    out << "|---|---|---|---|---|---|\n";
    auto row = [&](const char* name, const QVector<double>& o, const QVector<double>& p,
                   const QVector<double>& r, int decimals) {
        const auto so = bench::summarise(o), sp = bench::summarise(p), sr = bench::summarise(r);
        out << "| " << name << " | " << bench::formatSummary(so, decimals) << " | "
            << bench::formatSummary(sp, decimals) << " | " << QString::number(so.median / sp.median, 'f', 2)
            << " | " << bench::formatSummary(sr, decimals) << " | "
            << QString::number(so.median / sr.median, 'f', 2) << " |\n";
    };
    row("evaluation, ms", ours.evalMs, plain.evalMs, recording.evalMs, 0);
    row("whole process, ms", ours.wallMs, plain.wallMs, recording.wallMs, 0);
    row("whole process CPU (user + sys), ms", ours.cpuMs, plain.cpuMs, recording.cpuMs, 0);
    row("peak RSS, MiB", ours.rssMb, plain.rssMb, recording.rssMb, 1);
    return 0;
}
