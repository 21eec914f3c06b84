// Labels: switching each label kind on for a drawn model, as the main window's label actions do
// (the switch, then a render), then one render after the camera turned (what every frame of an
// interaction costs while labels are on), in a window of the given size. Needs an X display
// (run under xvfb-run).
//
//   tolvane_bench_labels [--runs N] [--size WxH] [--max-seconds S] [--max-gib G] [--workdir DIR] script.tcl
//   tolvane_bench_labels --child free|fixed|elements script.tcl --size WxH --settings config.ini [--png
//   out.png]
//
// Each run is a fresh process. A child that passes the time or memory bound is killed and
// reported as such: label pipelines that draw every tag can take tens of gigabytes.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

#include <vtkActor2D.h>
#include <vtkCamera.h>
#include <vtkDataSet.h>
#include <vtkIntArray.h>
#include <vtkMapper2D.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkWindowToImageFilter.h>

#include "BenchSupport.h"
#include "ModelRecord.h"
#include "SettingsStore.h"
#include "vtkdraw.h"

namespace {

long residentKb()
{
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    long size = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

QVector<vtkdraw::Group> groupsOf(const QString& kind)
{
    if (kind == "free")
        return {vtkdraw::FreeNodes};
    if (kind == "fixed")
        return {vtkdraw::FixedNodes};
    return {vtkdraw::Frames, vtkdraw::ThreeNode, vtkdraw::FourNode, vtkdraw::EightNode};
}

// Tags the group's label actor is drawing now: the points of its mapper's input.
vtkIdType drawnLabels(const vtkdraw& draw, vtkdraw::Group g)
{
    vtkActor2D* actor = draw.group(g).labelActor;
    vtkMapper2D* mapper = actor ? vtkMapper2D::SafeDownCast(actor->GetMapper()) : nullptr;
    vtkDataSet* input = mapper ? vtkDataSet::SafeDownCast(mapper->GetInputDataObject(0, 0)) : nullptr;
    return input ? input->GetNumberOfPoints() : 0;
}

int childMain(const QStringList& args)
{
    const QString kind = args.value(0);
    QString script, settings, png, size = "1000x600";
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size())
            size = args[++i];
        else if (args[i] == "--png" && i + 1 < args.size())
            png = args[++i];
        else if (args[i] == "--settings" && i + 1 < args.size())
            settings = args[++i];
        else
            script = args[i];
    }
    int w = 0, h = 0;
    if (script.isEmpty() || settings.isEmpty() || !bench::parseSize(size, &w, &h))
        return 2;
    vtkNew<vtkRenderWindow> window;
    window->SetSize(w, h);
    vtkdraw draw(window);
    draw.setSettingsPath(settings);
    draw.updateBackground();
    draw.render();
    if (!bench::evaluate(script))
        return 1;
    const double b0 = bench::nowMs();
    draw.drawModel();
    window->WaitForCompletion();
    const double b1 = bench::nowMs();
    const long before = residentKb();

    const double t0 = bench::nowMs();
    if (kind == "free")
        draw.showFreeNodeLabels(true);
    else if (kind == "fixed")
        draw.showFixedNodeLabels(true);
    else
        draw.showElementLabels(true);
    draw.render();
    window->WaitForCompletion();
    const double t1 = bench::nowMs();
    draw.renderer()->GetActiveCamera()->Azimuth(15.0);
    draw.render();
    window->WaitForCompletion();
    const double t2 = bench::nowMs();
    vtkIdType drawn = 0, tags = 0;
    for (vtkdraw::Group g : groupsOf(kind)) {
        drawn += drawnLabels(draw, g);
        tags += draw.group(g).tags ? draw.group(g).tags->GetNumberOfTuples() : 0;
    }
    if (!png.isEmpty()) {
        vtkNew<vtkWindowToImageFilter> grab;
        grab->SetInput(window);
        grab->ShouldRerenderOff();
        grab->ReadFrontBufferOn();
        vtkNew<vtkPNGWriter> writer;
        writer->SetFileName(png.toLocal8Bit().constData());
        writer->SetInputConnection(grab->GetOutputPort());
        writer->Write();
    }
    std::printf(
        "build_us %lld switch_us %lld turned_us %lld rss_before_kb %ld rss_after_kb %ld tags %lld drawn "
        "%lld\n",
        qint64((b1 - b0) * 1000), qint64((t1 - t0) * 1000), qint64((t2 - t1) * 1000), before, residentKb(),
        qint64(tags), qint64(drawn));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == "--child")
        return childMain(args.mid(1));

    int runs = 3;
    double maxSeconds = 120.0, maxGib = 6.0;
    QString size = "1000x600";
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--size"))
        size = options["--size"];
    if (options.contains("--max-seconds"))
        maxSeconds = options["--max-seconds"].toDouble();
    if (options.contains("--max-gib"))
        maxGib = options["--max-gib"].toDouble();
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    int w = 0, h = 0;
    if (args.size() != 1 || !bench::parseSize(size, &w, &h)) {
        err << "usage: tolvane_bench_labels [--runs N] [--size WxH] [--max-seconds S] [--max-gib G] "
               "[--workdir DIR] "
               "script.tcl\n";
        return 2;
    }
    const QString script = QFileInfo(args[0]).absoluteFilePath();
    QDir().mkpath(workdir);
    const QString settings = QDir(workdir).filePath("config.ini");
    if (!SettingsStore::writeDefaults(settings) || !bench::evaluate(script))
        return 1;
    const QString self = QCoreApplication::applicationFilePath();
    bench::ChildLimits limits;
    limits.maxWallMs = maxSeconds * 1000.0;
    limits.maxRssKb = long(maxGib * 1048576.0);

    QTextStream out(stdout);
    out << "Labels: " << QFileInfo(script).fileName() << ", " << modelRecord()->nodeTags.size() << " nodes, "
        << modelRecord()->elementTags.size() << " elements, " << w << "x" << h << ", " << runs
        << " runs each, bounds " << maxSeconds << " s and " << maxGib << " GiB; median (min to max)\n";
    out << "| label kind | tags | drawn | switch on + render, ms | next render after a turn, ms | peak RSS, "
           "MiB | "
           "(of which before the switch, MiB) |\n";
    out << "|---|---|---|---|---|---|---|\n";
    for (const QString kind : {"fixed", "free", "elements"}) {
        QVector<double> on, turned, peak, before;
        QString stopped;
        double tags = 0, drawn = 0;
        for (int i = 0; i < runs && stopped.isEmpty(); ++i) {
            const bench::ChildRun run = bench::runChild(
                self, {"--child", kind, script, "--size", size, "--settings", settings}, limits);
            if (!run.stopped.isEmpty()) {
                stopped = run.stopped;
                peak << run.peakRssKb / 1024.0;
                break;
            }
            if (run.exitCode != 0) {
                err << kind << " run " << i + 1 << " failed with exit " << run.exitCode << "\n";
                return 1;
            }
            on << bench::outputValue(run.output, "switch_us") / 1000.0;
            turned << bench::outputValue(run.output, "turned_us") / 1000.0;
            peak << run.peakRssKb / 1024.0;
            before << bench::outputValue(run.output, "rss_before_kb") / 1024.0;
            tags = bench::outputValue(run.output, "tags");
            drawn = bench::outputValue(run.output, "drawn");
            err << kind << " run " << i + 1 << ": " << qRound(on.last()) << " ms, peak "
                << qRound(peak.last()) << " MiB\n";
        }
        auto cell = [](const QVector<double>& v) { return bench::formatSummary(bench::summarise(v), 0); };
        if (!stopped.isEmpty()) {
            out << "| " << kind << " | | | " << stopped << " | | " << QString::number(peak.last(), 'f', 0)
                << " | |\n";
            continue;
        }
        out << "| " << kind << " | " << qint64(tags) << " | " << qint64(drawn) << " | " << cell(on) << " | "
            << cell(turned) << " | " << cell(peak) << " | " << cell(before) << " |\n";
    }
    return 0;
}
