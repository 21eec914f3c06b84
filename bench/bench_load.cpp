// B3, loading results: the three recorder files of a run (node displacements, node reactions and
// one element response) read by Tolvane's loader as the main window calls it, side by side with
// `wc -l` on the same files. The files are written once by this program in the solver's format
// (time first, one blank between values, %g numbers, "\n" line ends) and reused while their
// parameters stay the same.
//
//   tolvane_bench_load [--runs N] [--workdir DIR]
//   tolvane_bench_load --child DIR        one load of DIR's files; prints its figures
//
// Every run is a fresh process; the two programs alternate, so both find the files in the page
// cache and drifting load hits both alike. The child needs no display (Qt's offscreen platform).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>
#include <cstdio>

#include "BenchSupport.h"
#include "ModelRecord.h"
#include "ResultParsing.h"
#include "zorloadresult.h"

namespace {

// 5,000 nodes x 1,000 steps, as the task sets it; the element file holds 1,000 beams of 12
// values (their global end forces), read as a point attribute of 6 values per end.
const int kNodes = 5000;
const int kSteps = 1000;
const int kElements = 1000;
const int kWidth = 12;
const int kFixedNodes = 100;  // only these have reactions; the solver writes 0 for the others
const char* const kElementType = "elasticBeamColumn";
const char* const kResponse = "globalForce";

QString dispFile(const QDir& d)
{
    return d.filePath("NodeDisp.file");
}
QString reactionFile(const QDir& d)
{
    return d.filePath("NodeReaction.file");
}
QString elementFile(const QDir& d)
{
    return d.filePath(QString("%1_%2.file").arg(kElementType, kResponse));
}

// A beam along X through all nodes, the first kFixedNodes restrained.
void fillModel()
{
    resetModelRecord();
    ModelRecord* m = modelRecord();
    m->ndm = 3;
    m->ndf = 6;
    for (int i = 0; i < kNodes; ++i) {
        m->nodeTags << i + 1;
        m->nodeX << 0.5 * i;
        m->nodeY << 0.0;
        m->nodeZ << 0.0;
    }
    for (int i = 0; i < kFixedNodes; ++i)
        m->fixNodeTags << i + 1;
    for (int e = 0; e < kElements; ++e) {
        m->elementTypes << QString(kElementType);
        m->elementTags << e + 1;
        m->elementNodeCounts << 2;
        m->elementNodes(1) << e + 1;
        m->elementNodes(2) << e + 2;
        for (int k = 3; k <= 8; ++k)
            m->elementNodes(k) << 0;
    }
}

// One file, line by line, as the solver's recorder prints it.
template <typename Value>
bool writeRecorderFile(const QString& path, int fields, Value value)
{
    std::FILE* f = std::fopen(QFile::encodeName(path).constData(), "w");
    if (!f)
        return false;
    for (int s = 1; s <= kSteps; ++s) {
        const double t = 0.01 * s;
        std::fprintf(f, "%g", t);
        for (int j = 0; j < fields; ++j)
            std::fprintf(f, " %g", value(t, j));
        std::fputc('\n', f);
    }
    return std::fclose(f) == 0;
}

bool writeFiles(const QDir& d)
{
    const QString stamp = QString("nodes %1 steps %2 elements %3 width %4 fixed %5 v1\n")
                              .arg(kNodes)
                              .arg(kSteps)
                              .arg(kElements)
                              .arg(kWidth)
                              .arg(kFixedNodes);
    QFile stampFile(d.filePath("parameters"));
    if (stampFile.open(QIODevice::ReadOnly) && QString::fromLatin1(stampFile.readAll()) == stamp)
        return true;
    stampFile.close();
    QTextStream(stderr) << "writing the result files to " << d.path() << " (once)\n";
    const auto disp = [](double t, int j) {
        const int node = j / 3, dof = j % 3;
        const double amplitude = 0.001 * (1 + node % 97) * (dof == 2 ? 0.1 : 1.0);
        return amplitude * std::sin(7.0 * t + 0.01 * node + dof);
    };
    const auto reaction = [](double t, int j) {
        const int node = j / 3, dof = j % 3;
        return node < kFixedNodes ? 1234.5 * (1 + dof) * std::sin(7.0 * t + 0.1 * node) : 0.0;
    };
    const auto force = [](double t, int j) {
        const int element = j / kWidth, k = j % kWidth;
        return 150.0 * (1 + k) * std::cos(7.0 * t + 0.003 * element + k);
    };
    if (!writeRecorderFile(dispFile(d), 3 * kNodes, disp) ||
        !writeRecorderFile(reactionFile(d), 3 * kNodes, reaction) ||
        !writeRecorderFile(elementFile(d), kWidth * kElements, force))
        return false;
    return stampFile.open(QIODevice::WriteOnly) && stampFile.write(stamp.toLatin1()) > 0;
}

qint64 charsOf(const QStringList& lines)
{
    qint64 n = 0;
    for (const QString& l : lines)
        n += l.size();
    return n;
}

int childMain(int argc, char** argv, const QString& dirPath)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir d(dirPath);
    fillModel();
    zorloadresult loader;
    QStringList disp, reaction, element;
    const double t0 = bench::nowMs();
    loader.loadNodeDisp(dispFile(d), disp);
    const double t1 = bench::nowMs();
    loader.loadNodeReaction(reactionFile(d), reaction);
    const double t2 = bench::nowMs();
    loader.loadElementResult(elementFile(d), element, kElementType, kResponse, "Point Attribute",
                             QString::number(kWidth), "1");
    const double t3 = bench::nowMs();
    // The range scan again on its own, to tell reading from scanning.
    double lo = 0.0, hi = 0.0;
    scanContourRange(element, *modelRecord(), loader.selection(), &lo, &hi);
    const double t4 = bench::nowMs();
    QTextStream out(stdout);
    out << "load_us " << qint64((t3 - t0) * 1000) << " disp_us " << qint64((t1 - t0) * 1000)
        << " reaction_us " << qint64((t2 - t1) * 1000) << " element_us " << qint64((t3 - t2) * 1000)
        << " scan_us " << qint64((t4 - t3) * 1000) << " lines "
        << disp.size() + reaction.size() + element.size() << " chars "
        << charsOf(disp) + charsOf(reaction) + charsOf(element) << " min " << loader.contourMin() << " max "
        << loader.contourMax() << "\n";
    return 0;
}

struct Series {
    QVector<double> values;
    void add(double v) { values << v; }
    bench::Summary summary() const { return bench::summarise(values); }
};

QString ratio(double a, double b)
{
    return QString::number(a / b, 'f', 2);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return childMain(argc, argv, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 5;
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    if (!args.isEmpty()) {
        err << "usage: tolvane_bench_load [--runs N] [--workdir DIR]\n";
        return 2;
    }
    const QString dirPath = QDir(workdir).filePath("results");
    QDir().mkpath(dirPath);
    const QDir d(dirPath);
    if (!writeFiles(d)) {
        err << "cannot write the result files in " << dirPath << "\n";
        return 1;
    }
    const QStringList files = {dispFile(d), reactionFile(d), elementFile(d)};
    qint64 bytes = 0;
    for (const QString& f : files)
        bytes += QFileInfo(f).size();
    const qint64 lines = 3 * kSteps;
    const QString self = QCoreApplication::applicationFilePath();

    Series load, disp, reaction, element, scan, ourWall, ourCpu, ourRss, wcWall, wcCpu, wcRss;
    for (int i = 0; i < runs; ++i) {
        const bench::ChildRun a = bench::runChild(self, {"--child", dirPath});
        const bench::ChildRun b = bench::runChild("wc", QStringList{"-l"} + files);
        if (a.exitCode != 0 || b.exitCode != 0) {
            err << "run " << i + 1 << " failed: loader exit " << a.exitCode << ", wc exit " << b.exitCode
                << "\n";
            return 1;
        }
        // Every byte but the line ends must arrive in the lists.
        if (bench::outputValue(a.output, "lines") != lines ||
            bench::outputValue(a.output, "chars") != double(bytes - lines)) {
            err << "run " << i + 1 << ": the loader did not read the files whole: " << a.output;
            return 1;
        }
        load.add(bench::outputValue(a.output, "load_us") / 1000.0);
        disp.add(bench::outputValue(a.output, "disp_us") / 1000.0);
        reaction.add(bench::outputValue(a.output, "reaction_us") / 1000.0);
        element.add(bench::outputValue(a.output, "element_us") / 1000.0);
        scan.add(bench::outputValue(a.output, "scan_us") / 1000.0);
        ourWall.add(a.wallMs);
        ourCpu.add(a.cpuMs);
        ourRss.add(a.peakRssKb / 1024.0);
        wcWall.add(b.wallMs);
        wcCpu.add(b.cpuMs);
        wcRss.add(b.peakRssKb / 1024.0);
        err << "run " << i + 1 << ": loader " << qRound(load.values.last()) << " ms (whole "
            << qRound(a.wallMs) << " ms, peak " << qRound(a.peakRssKb / 1024.0) << " MiB); wc -l "
            << qRound(b.wallMs) << " ms\n";
    }

    const auto l = load.summary(), w = wcWall.summary(), o = ourWall.summary();
    const auto co = ourCpu.summary(), cw = wcCpu.summary(), r = ourRss.summary(), rw = wcRss.summary();
    const double mib = bytes / 1048576.0;
    QTextStream out(stdout);
    out << "B3 loading results: " << kNodes << " nodes x " << kSteps << " steps; files "
        << QString::number(mib, 'f', 1) << " MiB (displacements " << QFileInfo(files[0]).size() / 1048576
        << ", reactions " << QFileInfo(files[1]).size() / 1048576 << ", " << kElements << " x " << kWidth
        << " element values " << QFileInfo(files[2]).size() / 1048576 << "), " << runs
        << " runs, median (min to max)\n";
    out << "| measure | tolvane loader | wc -l | tolvane / wc |\n";
    out << "|---|---|---|---|\n";
    out << "| the three loads (inside the child), ms | " << bench::formatSummary(l, 0) << " | "
        << bench::formatSummary(w, 0) << " (whole command) | " << ratio(l.median, w.median) << " |\n";
    out << "| whole command, ms | " << bench::formatSummary(o, 0) << " | " << bench::formatSummary(w, 0)
        << " | " << ratio(o.median, w.median) << " |\n";
    out << "| whole command CPU (user + sys), ms | " << bench::formatSummary(co, 0) << " | "
        << bench::formatSummary(cw, 0) << " | " << ratio(co.median, cw.median) << " |\n";
    out << "| peak RSS, MiB | " << bench::formatSummary(r, 0) << " | " << bench::formatSummary(rw, 1)
        << " | |\n";
    out << "| peak RSS / bytes read | " << QString::number(r.median / mib, 'f', 2) << " | | |\n";
    out << "of which (ms): displacements " << bench::formatSummary(disp.summary(), 0) << "; reactions "
        << bench::formatSummary(reaction.summary(), 0) << "; element file with its range scan "
        << bench::formatSummary(element.summary(), 0)
        << " (the range scan alone, timed again: " << bench::formatSummary(scan.summary(), 0) << ")\n";
    out << "read speed: loader " << QString::number(mib / (l.median / 1000.0), 'f', 0) << " MiB/s, wc -l "
        << QString::number(mib / (w.median / 1000.0), 'f', 0) << " MiB/s\n";
    return 0;
}
