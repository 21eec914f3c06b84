// B2, first picture: the time from the end of interpretation to the first rendered frame
// (vtkdraw::drawModel: scene cleared, all eight groups and their labels built, camera reset,
// one render), side by side with F3D rendering the same mesh from a .vtu written once by this
// program, to a picture of the same size. Needs an X display (run under xvfb-run).
//
//   tolvane_bench_picture [--runs N] [--size WxH] [--f3d PATH] [--workdir DIR] script.tcl
//   tolvane_bench_picture --child script.tcl --size WxH --settings config.ini [--png out.png] [--steps]
//
// Every run is a fresh process. The child builds the window and the scene builder and renders
// the empty scene first, as the main window has done long before a script is read; then it
// evaluates the script, draws, and (with --png) writes the window's picture.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <cmath>

#include <vtkCellType.h>
#include <vtkIdList.h>
#include <vtkNew.h>
#include <vtkPNGWriter.h>
#include <vtkPoints.h>
#include <vtkRenderWindow.h>
#include <vtkUnstructuredGrid.h>
#include <vtkWindowToImageFilter.h>
#include <vtkXMLUnstructuredGridWriter.h>

#include "BenchSupport.h"
#include "ModelRecord.h"
#include "SettingsStore.h"
#include "vtkdraw.h"

namespace {

int childMain(const QStringList& args)
{
    QString script, settings, png;
    QString size = "1000x600";
    bool steps = false;
    int samples = -1;  // the window's default unless given
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size())
            size = args[++i];
        else if (args[i] == "--settings" && i + 1 < args.size())
            settings = args[++i];
        else if (args[i] == "--png" && i + 1 < args.size())
            png = args[++i];
        else if (args[i] == "--samples" && i + 1 < args.size())
            samples = args[++i].toInt();
        else if (args[i] == "--steps")
            steps = true;
        else
            script = args[i];
    }
    int w = 0, h = 0;
    if (script.isEmpty() || settings.isEmpty() || !bench::parseSize(size, &w, &h)) {
        QTextStream(stderr) << "child: script, --settings and a size are needed\n";
        return 2;
    }

    // The application's state before a script is read: window up, empty scene rendered.
    const double setupStart = bench::nowMs();
    QTextStream out0(stdout);
    vtkNew<vtkRenderWindow> window;
    window->SetSize(w, h);
    if (samples >= 0)
        window->SetMultiSamples(samples);
    out0 << "samples " << window->GetMultiSamples() << "\n";
    vtkdraw draw(window);
    draw.setSettingsPath(settings);
    draw.updateBackground();
    draw.render();

    const double evalStart = bench::nowMs();
    if (!bench::evaluate(script))
        return 1;
    const double drawStart = bench::nowMs();
    QTextStream out(stdout);
    if (steps) {
        // The same calls as drawModel, timed one by one.
        struct Step {
            const char* name;
            void (vtkdraw::*call)();
        };
        const Step all[] = {{"clearScene", &vtkdraw::clearScene},
                            {"createScalarBarWidget", &vtkdraw::createScalarBarWidget},
                            {"drawFreeNodes", &vtkdraw::drawFreeNodes},
                            {"drawFixedNodes", &vtkdraw::drawFixedNodes},
                            {"drawFrames", &vtkdraw::drawFrames},
                            {"drawEqualDOF", &vtkdraw::drawEqualDOF},
                            {"drawRigidLinks", &vtkdraw::drawRigidLinks},
                            {"drawThreeNodeElements", &vtkdraw::drawThreeNodeElements},
                            {"drawFourNodeElements", &vtkdraw::drawFourNodeElements},
                            {"drawEightNodeElements", &vtkdraw::drawEightNodeElements},
                            {"resetCamera", &vtkdraw::resetCamera},
                            {"render", &vtkdraw::render}};
        for (const Step& s : all) {
            const double t = bench::nowMs();
            (draw.*s.call)();
            if (s.call == &vtkdraw::render)
                window->WaitForCompletion();
            out << "step_us " << s.name << " " << qint64((bench::nowMs() - t) * 1000.0) << "\n";
        }
    } else {
        draw.drawModel();
        window->WaitForCompletion();
    }
    const double drawEnd = bench::nowMs();

    if (!png.isEmpty()) {
        vtkNew<vtkWindowToImageFilter> grab;
        grab->SetInput(window);
        // The frame just drawn is the picture: no second render.
        grab->ShouldRerenderOff();
        grab->ReadFrontBufferOn();
        vtkNew<vtkPNGWriter> writer;
        writer->SetFileName(png.toLocal8Bit().constData());
        writer->SetInputConnection(grab->GetOutputPort());
        writer->Write();
    }
    const double pngEnd = bench::nowMs();
    out << "setup_us " << qint64((evalStart - setupStart) * 1000.0) << " eval_us "
        << qint64((drawStart - evalStart) * 1000.0) << " draw_us " << qint64((drawEnd - drawStart) * 1000.0)
        << " png_us " << qint64((pngEnd - drawEnd) * 1000.0) << "\n";
    return 0;
}

// The record's nodes and elements as one grid: shared points in node order, a vertex per
// node (the scene draws every node) and a line, triangle, quadrilateral or hexahedron per element.
bool writeMesh(const QString& path)
{
    const ModelRecord* m = modelRecord();
    vtkNew<vtkPoints> points;
    points->SetDataTypeToDouble();
    points->SetNumberOfPoints(m->nodeTags.size());
    QHash<int, vtkIdType> index;
    index.reserve(m->nodeTags.size());
    for (int i = 0; i < m->nodeTags.size(); ++i) {
        points->SetPoint(i, m->nodeX[i], m->nodeY[i], m->nodeZ[i]);
        if (!index.contains(m->nodeTags[i]))
            index.insert(m->nodeTags[i], i);
    }
    vtkNew<vtkUnstructuredGrid> grid;
    grid->SetPoints(points);
    grid->Allocate(m->nodeTags.size() + m->elementTags.size());
    for (vtkIdType i = 0; i < m->nodeTags.size(); ++i)
        grid->InsertNextCell(VTK_VERTEX, 1, &i);
    for (int e = 0; e < m->elementNodeCounts.size(); ++e) {
        const int count = m->elementNodeCounts[e];
        const int type = count == 2   ? VTK_LINE
                         : count == 3 ? VTK_TRIANGLE
                         : count == 4 ? VTK_QUAD
                         : count == 8 ? VTK_HEXAHEDRON
                                      : -1;
        if (type < 0)
            continue;
        vtkIdType ids[8];
        bool known = true;
        for (int k = 0; k < count; ++k) {
            const auto it = index.constFind(m->elementNodes(k + 1)[e]);
            known = known && it != index.constEnd();
            ids[k] = known ? it.value() : 0;
        }
        if (known)
            grid->InsertNextCell(type, count, ids);
    }
    vtkNew<vtkXMLUnstructuredGridWriter> writer;
    writer->SetFileName(path.toLocal8Bit().constData());
    writer->SetInputData(grid);
    writer->SetDataModeToAppended();
    writer->EncodeAppendedDataOff();
    writer->SetCompressorTypeToNone();
    return writer->Write() == 1;
}

struct Series {
    QVector<double> values;
    void add(double v) { values << v; }
    bench::Summary summary() const { return bench::summarise(values); }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == "--child")
        return childMain(args.mid(1));

    int runs = 5;
    QString size = "1000x600";
    QString f3d = "f3d";
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--size"))
        size = options["--size"];
    if (options.contains("--f3d"))
        f3d = options["--f3d"];
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    int w = 0, h = 0;
    if (args.size() != 1 || !bench::parseSize(size, &w, &h)) {
        err << "usage: tolvane_bench_picture [--runs N] [--size WxH] [--f3d PATH] [--workdir DIR] "
               "script.tcl\n";
        return 2;
    }
    const QString script = QFileInfo(args[0]).absoluteFilePath();
    const QString self = QCoreApplication::applicationFilePath();
    QDir().mkpath(workdir);
    const QDir dir(workdir);
    const QString settings = dir.filePath("config.ini");
    const QString mesh = dir.filePath(QFileInfo(script).completeBaseName() + ".vtu");
    const QString oursPng = dir.filePath("tolvane.png");
    const QString f3dPng = dir.filePath("f3d.png");
    if (!SettingsStore::writeDefaults(settings)) {
        err << "cannot write " << settings << "\n";
        return 1;
    }
    if (!bench::evaluate(script) || !writeMesh(mesh)) {
        err << "cannot write the mesh " << mesh << "\n";
        return 1;
    }
    const ModelRecord* m = modelRecord();
    const int nodes = m->nodeTags.size(), elements = m->elementTags.size();

    Series draw, setup, ourEval, ourWhole, ourCpu, ourRss, f3dWhole, f3dCpu, f3dRss;
    const QStringList childArgs = {"--child",    script,   "--size", size,
                                   "--settings", settings, "--png",  oursPng};
    const QStringList f3dArgs = {"--dry-run", "--quiet", QString("--resolution=%1,%2").arg(w).arg(h),
                                 "--output=" + f3dPng, mesh};
    for (int i = 0; i < runs; ++i) {
        // Alternate the two so that drifting load on the machine hits both alike.
        const bench::ChildRun a = bench::runChild(self, childArgs);
        const bench::ChildRun b = bench::runChild(f3d, f3dArgs);
        if (a.exitCode != 0 || b.exitCode != 0) {
            err << "run " << i + 1 << " failed: tolvane exit " << a.exitCode << ", f3d exit " << b.exitCode
                << "\n";
            return 1;
        }
        draw.add(bench::outputValue(a.output, "draw_us") / 1000.0);
        ourEval.add(bench::outputValue(a.output, "eval_us") / 1000.0);
        setup.add(bench::outputValue(a.output, "setup_us") / 1000.0);
        ourWhole.add(a.wallMs);
        ourCpu.add(a.cpuMs);
        f3dCpu.add(b.cpuMs);
        ourRss.add(a.peakRssKb / 1024.0);
        f3dWhole.add(b.wallMs);
        f3dRss.add(b.peakRssKb / 1024.0);
        err << "run " << i + 1 << ": tolvane draw " << qRound(draw.values.last()) << " ms, whole "
            << qRound(a.wallMs) << " ms; f3d whole " << qRound(b.wallMs) << " ms\n";
    }
    const bench::ChildRun stepsRun =
        bench::runChild(self, {"--child", script, "--size", size, "--settings", settings, "--steps"});

    const auto d = draw.summary(), e = ourEval.summary(), o = ourWhole.summary(), f = f3dWhole.summary();
    const auto ro = ourRss.summary(), rf = f3dRss.summary();
    const auto co = ourCpu.summary(), cf = f3dCpu.summary(), s = setup.summary();
    QTextStream out(stdout);
    out << "B2 first picture: " << QFileInfo(script).fileName() << ", " << nodes << " nodes, " << elements
        << " elements, " << w << "x" << h << ", " << runs << " runs, median (min to max)\n";
    out << "| measure | tolvane | f3d | tolvane / f3d |\n";
    out << "|---|---|---|---|\n";
    out << "| end of interpretation to first frame, ms | " << bench::formatSummary(d, 0) << " | "
        << bench::formatSummary(f, 0) << " (whole command) | " << QString::number(d.median / f.median, 'f', 2)
        << " |\n";
    out << "| whole command, ms | " << bench::formatSummary(o, 0) << " | " << bench::formatSummary(f, 0)
        << " | " << QString::number(o.median / f.median, 'f', 2) << " |\n";
    out << "| whole command CPU (user + sys, all threads), ms | " << bench::formatSummary(co, 0) << " | "
        << bench::formatSummary(cf, 0) << " | " << QString::number(co.median / cf.median, 'f', 2) << " |\n";
    out << "| (of which window, scene builder and empty first render, ms) | " << bench::formatSummary(s, 0)
        << " | | |\n";
    out << "| (of which interpretation, ms) | " << bench::formatSummary(e, 0) << " | | |\n";
    out << "| peak RSS, MiB | " << bench::formatSummary(ro, 0) << " | " << bench::formatSummary(rf, 0)
        << " | " << QString::number(ro.median / rf.median, 'f', 2) << " |\n";
    out << "one run step by step (ms):";
    const QStringList lines = QString::fromLocal8Bit(stepsRun.output).split('\n');
    for (const QString& line : lines) {
        const QStringList words = line.split(' ');
        if (words.size() == 3 && words[0] == "step_us")
            out << " " << words[1] << " " << QString::number(words[2].toDouble() / 1000.0, 'f', 1) << ";";
    }
    out << "\npictures: " << oursPng << ", " << f3dPng << "\n";
    return 0;
}
