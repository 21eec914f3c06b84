// B4, one result step: what the step display does when the slider moves (prepareResultStep on
// the stored lines, attachResultScalars, the eight deforms, render), side by side with a minimal
// VTK program that moves the same points of one comparable poly data (a vertex per node and a
// line per frame element, points unshared as in the scene) and renders, in a window of the same
// size. Needs an X display (run under xvfb-run).
//
//   tolvane_bench_step [--runs N] [--steps K] [--size WxH] [--samples S] [--workdir DIR] script.tcl
//   tolvane_bench_step --child tolvane|minimal|styled script.tcl --size WxH --steps K
//                      [--settings config.ini] [--samples S] [--fxaa] [--no-scalars]
//
// "minimal" draws with VTK's defaults (opaque, 1-pixel lines and points); "styled" gives the
// same actor the scene's default look (opacity 0.5, lines and points 5 pixels wide). Each child
// draws the model, then times K steps that alternate between two displacement fields; the first
// step is reported apart (it attaches the scalars and compiles shaders).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <sys/resource.h>

#include <vtkActor.h>
#include <vtkCellArray.h>
#include <vtkFloatArray.h>
#include <vtkNew.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>

#include "BenchSupport.h"
#include "ModelRecord.h"
#include "ResultStep.h"
#include "SettingsStore.h"
#include "vtkdraw.h"
#include "zorloadresult.h"

namespace {

const double kScale = 20.0;

// Displacement of node i, DOF d (0-based) in field `phase`: a sway growing with height.
double displacement(int i, int d, int phase)
{
    const ModelRecord& m = *modelRecord();
    const double sway = 0.002 * m.nodeZ[i] * (phase == 0 ? 1.0 : -0.6);
    return d == 0 ? sway : d == 1 ? 0.3 * sway * std::sin(0.01 * i) : -0.01 * std::fabs(sway);
}

// One recorder line as the solver writes it: the time, then three values per node.
QString recorderLine(double time, int phase, bool zeros)
{
    const int n = modelRecord()->nodeTags.size();
    QByteArray line;
    line.reserve(n * 36 + 16);
    char number[32];
    std::snprintf(number, sizeof number, "%g", time);
    line += number;
    for (int i = 0; i < n; ++i) {
        for (int d = 0; d < 3; ++d) {
            std::snprintf(number, sizeof number, " %g", zeros ? 0.0 : displacement(i, d, phase));
            line += number;
        }
    }
    return QString::fromLatin1(line);
}

struct StepTimes {
    QVector<double> total, parse, deform, render;
    double first = 0.0;
    double cpuStart = 0.0;  // process CPU time when the timed steps began
    double cpuPerStep = 0.0;
    // CPU time of the whole process (all threads, llvmpipe's included): less moved by other load.
    static double cpuMs()
    {
        struct rusage u {};
        getrusage(RUSAGE_SELF, &u);
        return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
               (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
    }
    void begin() { cpuStart = cpuMs(); }
    void end(int steps) { cpuPerStep = (cpuMs() - cpuStart) / steps; }
};

void printTimes(const StepTimes& t)
{
    QTextStream out(stdout);
    auto med = [](const QVector<double>& v) { return qint64(bench::summarise(v).median * 1000.0); };
    out << "first_us " << qint64(t.first * 1000.0) << " step_us " << med(t.total) << " parse_us "
        << med(t.parse) << " deform_us " << med(t.deform) << " render_us " << med(t.render) << " cpu_us "
        << qint64(t.cpuPerStep * 1000.0) << "\n";
}

// Renderer options for finding where the time goes; the scene builder's own defaults otherwise.
struct Tweaks {
    bool fxaa = false;       // FXAA on the finished frame (meant with --samples 0)
    bool noScalars = false;  // steps without attachResultScalars: the groups keep their colours
    bool noGhost = false;    // without the undeformed outline (the View toggle off)
};

int tolvaneChild(vtkRenderWindow* window, const QString& settings, int steps, const Tweaks& tweaks)
{
    vtkdraw draw(window);
    if (tweaks.fxaa)
        draw.renderer()->UseFXAAOn();
    draw.setSettingsPath(settings);
    draw.updateBackground();
    draw.render();
    draw.drawModel();
    draw.setUndeformedGhost(!tweaks.noGhost);
    window->WaitForCompletion();

    // The main window's stored lines: two steps, no element result chosen.
    const QStringList disp = {recorderLine(0.01, 0, false), recorderLine(0.02, 1, false)};
    const QStringList reaction = {recorderLine(0.01, 0, true), recorderLine(0.02, 1, true)};
    const QStringList elements;
    zorloadresult loader;
    ResultStep step;
    StepTimes t;
    for (int k = 0; k <= steps; ++k) {
        const double t0 = bench::nowMs();
        if (!prepareResultStep(loader, disp, reaction, elements, 1 + k % 2, &step)) {
            QTextStream(stderr) << "the generated line was refused\n";
            return 1;
        }
        const double t1 = bench::nowMs();
        if (!tweaks.noScalars)
            draw.attachResultScalars();
        draw.deformFreeNodes(kScale, step.x, step.y, step.z);
        draw.deformFixedNodes(kScale, step.x, step.y, step.z);
        draw.deformEqualDOF(kScale, step.x, step.y, step.z);
        draw.deformRigidLinks(kScale, step.x, step.y, step.z);
        draw.deformFrames(kScale, step.x, step.y, step.z, step.s2);
        draw.deformThreeNodeElements(kScale, step.x, step.y, step.z, step.s3);
        draw.deformFourNodeElements(kScale, step.x, step.y, step.z, step.s4);
        draw.deformEightNodeElements(kScale, step.x, step.y, step.z, step.s8);
        const double t2 = bench::nowMs();
        draw.render();
        window->WaitForCompletion();
        const double t3 = bench::nowMs();
        if (k == 0) {
            t.first = t3 - t0;
            t.begin();
            continue;
        }
        t.total << t3 - t0;
        t.parse << t1 - t0;
        t.deform << t2 - t1;
        t.render << t3 - t2;
    }
    t.end(steps);
    printTimes(t);
    return 0;
}

// One poly data: a vertex per node and a line per two-node element, each with points of its own.
int minimalChild(vtkRenderWindow* window, bool styled, int steps)
{
    const ModelRecord& m = *modelRecord();
    QVector<int> ends;  // per point: its node
    for (int i = 0; i < m.nodeTags.size(); ++i)
        ends << i;
    QHash<int, int> position;
    for (int i = 0; i < m.nodeTags.size(); ++i)
        position.insert(m.nodeTags[i], i);
    vtkNew<vtkCellArray> verts, lines;
    for (vtkIdType i = 0; i < m.nodeTags.size(); ++i)
        verts->InsertNextCell(1, &i);
    for (int e = 0; e < m.elementNodeCounts.size(); ++e) {
        if (m.elementNodeCounts[e] != 2)
            continue;
        const vtkIdType ids[2] = {ends.size(), ends.size() + 1};
        ends << position.value(m.elementNodes(1)[e]) << position.value(m.elementNodes(2)[e]);
        lines->InsertNextCell(2, ids);
    }
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(ends.size());
    vtkNew<vtkPolyData> poly;
    poly->SetPoints(points);
    poly->SetVerts(verts);
    poly->SetLines(lines);
    vtkNew<vtkPolyDataMapper> mapper;
    mapper->SetInputData(poly);
    vtkNew<vtkActor> actor;
    actor->SetMapper(mapper);
    if (styled) {
        actor->GetProperty()->SetOpacity(0.5);
        actor->GetProperty()->SetLineWidth(5.0f);
        actor->GetProperty()->SetPointSize(5.0f);
    }
    vtkNew<vtkRenderer> renderer;
    renderer->AddActor(actor);
    window->AddRenderer(renderer);

    auto move = [&](double scale, int phase) {
        float* xyz = vtkFloatArray::FastDownCast(points->GetData())->GetPointer(0);
        for (int k = 0; k < ends.size(); ++k, xyz += 3) {
            const int n = ends[k];
            xyz[0] = float(m.nodeX[n] + scale * displacement(n, 0, phase));
            xyz[1] = float(m.nodeY[n] + scale * displacement(n, 1, phase));
            xyz[2] = float(m.nodeZ[n] + scale * displacement(n, 2, phase));
        }
        points->Modified();
    };
    move(0.0, 0);
    renderer->ResetCamera();
    window->Render();
    window->WaitForCompletion();
    StepTimes t;
    for (int k = 0; k <= steps; ++k) {
        const double t0 = bench::nowMs();
        move(kScale, k % 2);
        const double t1 = bench::nowMs();
        window->Render();
        window->WaitForCompletion();
        const double t2 = bench::nowMs();
        if (k == 0) {
            t.first = t2 - t0;
            t.begin();
            continue;
        }
        t.total << t2 - t0;
        t.parse << 0.0;
        t.deform << t1 - t0;
        t.render << t2 - t1;
    }
    t.end(steps);
    printTimes(t);
    return 0;
}

int childMain(const QStringList& args)
{
    if (args.isEmpty())
        return 2;
    const QString kind = args[0];
    QString script, settings, size = "1000x600";
    int steps = 20, samples = -1;
    Tweaks tweaks;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--no-scalars") {
            tweaks.noScalars = true;
            continue;
        }
        if (args[i] == "--fxaa") {
            tweaks.fxaa = true;
            continue;
        }
        if (args[i] == "--no-ghost") {
            tweaks.noGhost = true;
            continue;
        }
        if (args[i] == "--size" && i + 1 < args.size())
            size = args[++i];
        else if (args[i] == "--settings" && i + 1 < args.size())
            settings = args[++i];
        else if (args[i] == "--steps" && i + 1 < args.size())
            steps = args[++i].toInt();
        else if (args[i] == "--samples" && i + 1 < args.size())
            samples = args[++i].toInt();
        else
            script = args[i];
    }
    int w = 0, h = 0;
    if (script.isEmpty() || !bench::parseSize(size, &w, &h) || (kind == "tolvane" && settings.isEmpty()))
        return 2;
    vtkNew<vtkRenderWindow> window;
    window->SetSize(w, h);
    if (samples >= 0)
        window->SetMultiSamples(samples);
    if (!bench::evaluate(script))
        return 1;
    if (kind == "tolvane")
        return tolvaneChild(window, settings, steps, tweaks);
    return minimalChild(window, kind == "styled", steps);
}

struct Series {
    QVector<double> first, step, parse, deform, render, cpu;
    void add(const bench::ChildRun& run)
    {
        cpu << bench::outputValue(run.output, "cpu_us") / 1000.0;
        first << bench::outputValue(run.output, "first_us") / 1000.0;
        step << bench::outputValue(run.output, "step_us") / 1000.0;
        parse << bench::outputValue(run.output, "parse_us") / 1000.0;
        deform << bench::outputValue(run.output, "deform_us") / 1000.0;
        render << bench::outputValue(run.output, "render_us") / 1000.0;
    }
};

QString cell(const QVector<double>& v, int decimals = 1)
{
    return bench::formatSummary(bench::summarise(v), decimals);
}

double median(const QVector<double>& v)
{
    return bench::summarise(v).median;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == "--child")
        return childMain(args.mid(1));

    int runs = 5, steps = 20;
    QString size = "1000x600", samples;
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--steps"))
        steps = qMax(1, options["--steps"].toInt());
    if (options.contains("--size"))
        size = options["--size"];
    if (options.contains("--samples"))
        samples = options["--samples"];
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    int w = 0, h = 0;
    if (args.size() != 1 || !bench::parseSize(size, &w, &h)) {
        err << "usage: tolvane_bench_step [--runs N] [--steps K] [--size WxH] [--samples S] [--workdir DIR] "
               "script.tcl\n";
        return 2;
    }
    const QString script = QFileInfo(args[0]).absoluteFilePath();
    QDir().mkpath(workdir);
    const QString settings = QDir(workdir).filePath("config.ini");
    if (!SettingsStore::writeDefaults(settings)) {
        err << "cannot write " << settings << "\n";
        return 1;
    }
    if (!bench::evaluate(script))
        return 1;
    const int nodes = modelRecord()->nodeTags.size(), elements = modelRecord()->elementTags.size();
    const QString self = QCoreApplication::applicationFilePath();
    QStringList common = {script, "--size", size, "--steps", QString::number(steps)};
    if (!samples.isEmpty())
        common << "--samples" << samples;

    Series ours, minimal, styled;
    for (int i = 0; i < runs; ++i) {
        // Alternate the three so that drifting load hits all alike.
        const bench::ChildRun a =
            bench::runChild(self, QStringList{"--child", "tolvane", "--settings", settings} + common);
        const bench::ChildRun b = bench::runChild(self, QStringList{"--child", "minimal"} + common);
        const bench::ChildRun c = bench::runChild(self, QStringList{"--child", "styled"} + common);
        if (a.exitCode != 0 || b.exitCode != 0 || c.exitCode != 0) {
            err << "run " << i + 1 << " failed: exits " << a.exitCode << ", " << b.exitCode << ", "
                << c.exitCode << "\n";
            return 1;
        }
        ours.add(a);
        minimal.add(b);
        styled.add(c);
        err << "run " << i + 1 << ": tolvane " << ours.step.last() << " ms per step, minimal "
            << minimal.step.last() << " ms, minimal styled " << styled.step.last() << " ms\n";
    }

    QTextStream out(stdout);
    out << "B4 result step: " << QFileInfo(script).fileName() << ", " << nodes << " nodes, " << elements
        << " elements, " << w << "x" << h << ", " << steps << " steps per run, " << runs
        << " runs; medians per run, then median (min to max) over runs, ms\n";
    out << "| measure | tolvane | minimal VTK | tolvane / minimal | minimal, styled as the scene | tolvane / "
           "styled |\n";
    out << "|---|---|---|---|---|---|\n";
    out << "| one step | " << cell(ours.step) << " | " << cell(minimal.step) << " | "
        << QString::number(median(ours.step) / median(minimal.step), 'f', 2) << " | " << cell(styled.step)
        << " | " << QString::number(median(ours.step) / median(styled.step), 'f', 2) << " |\n";
    out << "| (parse) | " << cell(ours.parse) << " | | | | |\n";
    out << "| (move the points) | " << cell(ours.deform) << " | " << cell(minimal.deform) << " | | "
        << cell(styled.deform) << " | |\n";
    out << "| (render) | " << cell(ours.render) << " | " << cell(minimal.render) << " | | "
        << cell(styled.render) << " | |\n";
    out << "| CPU per step (all threads) | " << cell(ours.cpu) << " | " << cell(minimal.cpu) << " | "
        << QString::number(median(ours.cpu) / median(minimal.cpu), 'f', 2) << " | " << cell(styled.cpu)
        << " | " << QString::number(median(ours.cpu) / median(styled.cpu), 'f', 2) << " |\n";
    out << "| first step | " << cell(ours.first, 0) << " | " << cell(minimal.first, 0) << " | | "
        << cell(styled.first, 0) << " | |\n";
    out << "steps per second (tolvane): " << QString::number(1000.0 / median(ours.step), 'f', 1) << "\n";
    return 0;
}
