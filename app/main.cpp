#include <QApplication>
#include <QCommandLineParser>
#include <QSurfaceFormat>
#include <QTextStream>

#include <QVTKOpenGLNativeWidget.h>

#include "BatchCommands.h"
#include "Tolvane.h"

namespace {

struct CommandLine {
    QString script;
    bool trust = false;
    bool dumpModel = false;
    bool render = false;
    RenderOptions renderOptions;
    bool instrument = false;
    InstrumentOptions instrumentOptions;
    bool diagram = false;
    DiagramOptions diagramOptions;
    QString modes;  // --modes SCRIPT
    QString error;
};

QSize parseSize(const QString& text)
{
    const QStringList parts = text.toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return QSize();
    bool okW = false, okH = false;
    const int w = parts[0].toInt(&okW), h = parts[1].toInt(&okH);
    // The picture is three times the view: 4096 x 4096 already makes a 450 MB image.
    const int largest = 4096;
    return (okW && okH && w > 0 && h > 0 && w <= largest && h <= largest) ? QSize(w, h) : QSize();
}

// A:B[:K], B a step or "last" (-1).
bool parseSteps(const QString& text, RenderOptions* o)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    bool okA = false, okB = true, okK = true;
    o->stepsStart = parts[0].toInt(&okA);
    o->stepsEnd = parts[1] == QLatin1String("last") ? -1 : parts[1].toInt(&okB);
    o->stepsInterval = parts.size() == 3 ? parts[2].toInt(&okK) : 1;
    return okA && okB && okK && o->stepsStart >= 1 && o->stepsInterval >= 1 &&
           (o->stepsEnd == -1 || o->stepsEnd >= o->stepsStart);
}

CommandLine parseCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Tolvane: edit, view, run and study OpenSees Tcl models."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("SCRIPT"),
                                 QStringLiteral("Tcl script to open and interpret at start."),
                                 QStringLiteral("[SCRIPT]"));
    const QCommandLineOption dump(QStringLiteral("dump-model"),
                                  QStringLiteral("Evaluate SCRIPT and print its model record as JSON."),
                                  QStringLiteral("SCRIPT"));
    const QCommandLineOption render(QStringLiteral("render"),
                                    QStringLiteral("Draw SCRIPT into the picture given by --output."),
                                    QStringLiteral("SCRIPT"));
    const QCommandLineOption output(
        QStringLiteral("output"),
        QStringLiteral("Picture file (.png, .bmp, .jpg) for --render; .mp4 or .gif with --steps."),
        QStringLiteral("IMAGE"));
    const QCommandLineOption view(QStringLiteral("view"),
                                  QStringLiteral("View for --render: XYZ, XY+, XY-, XZ+, XZ-, YZ+ or YZ-."),
                                  QStringLiteral("VIEW"), QStringLiteral("XYZ"));
    const QCommandLineOption perspective(QStringLiteral("perspective"),
                                         QStringLiteral("Perspective projection for --render."));
    const QCommandLineOption labels(QStringLiteral("labels"),
                                    QStringLiteral("Labels for --render: any of free,fixed,elements."),
                                    QStringLiteral("LIST"));
    const QCommandLineOption size(
        QStringLiteral("size"),
        QStringLiteral("View size for --render; the picture is 3x (default 800x600)."),
        QStringLiteral("WIDTHxHEIGHT"), QStringLiteral("800x600"));
    const QCommandLineOption instrument(
        QStringLiteral("instrument"),
        QStringLiteral("Write SCRIPT's run record and instrumented copy as Run would; start nothing."),
        QStringLiteral("SCRIPT"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Element responses for --instrument (repeatable)."),
                                    QStringLiteral("TYPE:RESPONSE[,RESPONSE...]"));
    const QCommandLineOption live(QStringLiteral("live"),
                                  QStringLiteral("Stream the live view for --instrument at this scale."),
                                  QStringLiteral("SCALE"));
    const QCommandLineOption stepOption(
        QStringLiteral("step"), QStringLiteral("Result step of the last run for --render, or \"last\"."),
        QStringLiteral("N"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Deformation scale of the --step picture (default 1)."),
                                   QStringLiteral("F"), QStringLiteral("1"));
    const QCommandLineOption result(QStringLiteral("result"),
                                    QStringLiteral("Element response to colour the --step picture by."),
                                    QStringLiteral("TYPE:RESPONSE"));
    const QCommandLineOption attribute(
        QStringLiteral("attribute"),
        QStringLiteral("Where --result is shown: element or point (default element)."),
        QStringLiteral("WHERE"), QStringLiteral("element"));
    const QCommandLineOption column(
        QStringLiteral("column"),
        QStringLiteral("Which value of the element's block --result shows (default 1)."), QStringLiteral("K"),
        QStringLiteral("1"));
    const QCommandLineOption steps(
        QStringLiteral("steps"),
        QStringLiteral(
            "Animation of result steps A to B (or \"last\"), every K-th, for --render into .mp4 or .gif."),
        QStringLiteral("A:B[:K]"));
    const QCommandLineOption fps(QStringLiteral("fps"),
                                 QStringLiteral("Frames a second of the --steps animation (default 25)."),
                                 QStringLiteral("N"), QStringLiteral("25"));
    const QCommandLineOption diagram(
        QStringLiteral("diagram"),
        QStringLiteral("Print the member forces of SCRIPT's last run (with --step, --component); "
                       "with --render, the component to draw over the --step picture."),
        QStringLiteral("SCRIPT|COMPONENT"));
    const QCommandLineOption component(QStringLiteral("component"),
                                       QStringLiteral("Force component for --diagram: N, Vy, Vz, T, My or Mz."),
                                       QStringLiteral("C"), QStringLiteral("Mz"));
    const QCommandLineOption modes(QStringLiteral("modes"),
                                   QStringLiteral("Print the periods and mass ratios of every eigen call of "
                                                  "SCRIPT's last run, tab-separated."),
                                   QStringLiteral("SCRIPT"));
    const QCommandLineOption mode(QStringLiteral("mode"),
                                  QStringLiteral("Mode of the last run's last eigen call for --render, drawn "
                                                 "at --scale or at the automatic scale."),
                                  QStringLiteral("K"));
    const QCommandLineOption trust(
        QStringLiteral("trust"),
        QStringLiteral("Evaluate scripts with the whole of Tcl when opening them (programs, connections, "
                       "file changes), as the solver does."));
    parser.addOptions({dump,   render, output, view,      perspective, labels, size,  instrument,
                       record, live,   stepOption, scale, result,      attribute, column, diagram,
                       component, modes, mode, trust,  steps,       fps});
    parser.process(app);

    CommandLine cl;
    cl.trust = parser.isSet(trust);
    // --step as both --diagram and --render read it: 0 when absent, -1 for "last".
    int step = 0;
    if (parser.isSet(stepOption)) {
        bool ok = true;
        step = parser.value(stepOption) == QLatin1String("last") ? -1 : parser.value(stepOption).toInt(&ok);
        if (!ok || step == 0 || step < -1)
            cl.error = QStringLiteral("bad --step \"%1\", expected a step from 1 or \"last\"")
                           .arg(parser.value(stepOption));
    }
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty())
        cl.script = positional.first();
    if (parser.isSet(modes)) {
        cl.modes = parser.value(modes);
    } else if (parser.isSet(dump)) {
        cl.dumpModel = true;
        cl.script = parser.value(dump);
    } else if (parser.isSet(instrument)) {
        cl.instrument = true;
        InstrumentOptions& o = cl.instrumentOptions;
        o.script = parser.value(instrument);
        o.records = parser.values(record);
        if (parser.isSet(live)) {
            bool ok = false;
            o.liveScale = parser.value(live).toInt(&ok);
            // The recorder dialog's scale box goes from 1 to 99.
            if (!ok || o.liveScale < 1 || o.liveScale > 99)
                cl.error = QStringLiteral("bad --live \"%1\", expected a scale from 1 to 99")
                               .arg(parser.value(live));
        }
    } else if (parser.isSet(diagram) && !parser.isSet(render)) {
        cl.diagram = true;
        cl.diagramOptions.script = parser.value(diagram);
        cl.diagramOptions.step = step == 0 ? -1 : step;
        if (!parseForceComponent(parser.value(component), &cl.diagramOptions.component))
            cl.error = QStringLiteral("bad --component \"%1\", expected N, Vy, Vz, T, My or Mz")
                           .arg(parser.value(component));
    } else if (parser.isSet(render)) {
        cl.render = true;
        RenderOptions& o = cl.renderOptions;
        o.script = parser.value(render);
        o.output = parser.value(output);
        o.view = parser.value(view);
        o.perspective = parser.isSet(perspective);
        if (parser.isSet(labels))
            o.labels = parser.value(labels).split(QLatin1Char(','), Qt::SkipEmptyParts);
        o.size = parseSize(parser.value(size));
        static const QStringList views = {"XYZ", "XY+", "XY-", "XZ+", "XZ-", "YZ+", "YZ-"};
        static const QStringList labelWords = {"free", "fixed", "elements"};
        if (o.output.isEmpty())
            cl.error = QStringLiteral("--render needs --output IMAGE");
        else if (!views.contains(o.view))
            cl.error = QStringLiteral("unknown view \"%1\"").arg(o.view);
        else if (!o.size.isValid())
            cl.error = QStringLiteral("bad size \"%1\", expected WIDTHxHEIGHT of at most 4096x4096")
                           .arg(parser.value(size));
        o.step = step;
        if (parser.isSet(diagram)) {
            o.drawDiagram = true;
            // A diagram belongs to a step: the last unless one is given.
            if (o.step == 0)
                o.step = -1;
            if (!parseForceComponent(parser.value(diagram), &o.diagramComponent))
                cl.error = QStringLiteral("bad --diagram \"%1\", expected N, Vy, Vz, T, My or Mz")
                               .arg(parser.value(diagram));
        }
        if (parser.isSet(steps) && !parseSteps(parser.value(steps), &o))
            cl.error = QStringLiteral("bad --steps \"%1\", expected A:B or A:B:K with 1 <= A <= B, or A:last")
                           .arg(parser.value(steps));
        else if (parser.isSet(steps) && o.step != 0)
            cl.error = QStringLiteral("--step and --steps exclude each other");
        bool fpsOk = false;
        o.fps = parser.value(fps).toInt(&fpsOk);
        if (!fpsOk || o.fps < 1 || o.fps > 100)
            cl.error = QStringLiteral("bad --fps \"%1\", expected 1 to 100").arg(parser.value(fps));
        bool scaleOk = false, columnOk = false;
        o.scale = parser.value(scale).toDouble(&scaleOk);
        o.column = parser.value(column).toInt(&columnOk);
        o.result = parser.value(result);
        o.pointAttribute = parser.value(attribute) == QLatin1String("point");
        if (!scaleOk)
            cl.error = QStringLiteral("bad --scale \"%1\"").arg(parser.value(scale));
        else if (!columnOk || o.column < 1)
            cl.error = QStringLiteral("bad --column \"%1\"").arg(parser.value(column));
        else if (parser.value(attribute) != QLatin1String("point") &&
                 parser.value(attribute) != QLatin1String("element"))
            cl.error = QStringLiteral("bad --attribute \"%1\", expected element or point")
                           .arg(parser.value(attribute));
        else if (!o.result.isEmpty() && !o.result.contains(QLatin1Char(':')))
            cl.error = QStringLiteral("bad --result \"%1\", expected TYPE:RESPONSE").arg(o.result);
        if (!cl.error.isEmpty()) {
        } else if (parser.isSet(mode)) {
            bool modeOk = false;
            o.mode = parser.value(mode).toInt(&modeOk);
            o.scaleGiven = parser.isSet(scale);
            if (!modeOk || o.mode < 1)
                cl.error = QStringLiteral("bad --mode \"%1\", expected a mode from 1").arg(parser.value(mode));
            else if (o.step != 0 || o.stepsStart != 0 || parser.isSet(result) || o.drawDiagram)
                cl.error = QStringLiteral(
                    "--mode draws a mode shape: not with --step, --steps, --result or --diagram");
        } else if (o.step == 0 && o.stepsStart == 0 && (parser.isSet(result) || parser.isSet(scale))) {
            cl.error = QStringLiteral("--result and --scale need --step, --steps or --mode");
        }
        for (const QString& l : o.labels)
            if (!labelWords.contains(l))
                cl.error = QStringLiteral("unknown label kind \"%1\"").arg(l);
    }
    return cl;
}

}  // namespace

bool wantsNoDisplay(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--dump-model" || a.startsWith("--dump-model=") || a == "--modes" || a.startsWith("--modes=") ||
            a == "--instrument" ||
            a.startsWith("--instrument=") || a == "--help" || a == "-h" || a == "--version" || a == "-v")
            return true;
    }
    // The member force table needs no display; a picture of it does.
    bool diagram = false, render = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        diagram = diagram || a == "--diagram" || a.startsWith("--diagram=");
        render = render || a == "--render" || a.startsWith("--render=");
    }
    return diagram && !render;
}

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Tolvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));

    // Batch evaluation and the help texts must work without a display.
    if (wantsNoDisplay(argc, argv)) {
        QCoreApplication app(argc, argv);
        const CommandLine cl = parseCommandLine(app);
        if (!cl.error.isEmpty()) {
            QTextStream(stderr) << "tolvane: " << cl.error << '\n';
            return 2;
        }
        const ScriptTrust trust = openingTrust(cl.trust);
        if (cl.instrument) {
            InstrumentOptions options = cl.instrumentOptions;
            options.trust = trust;
            return instrumentMain(options);
        }
        if (cl.diagram) {
            DiagramOptions options = cl.diagramOptions;
            options.trust = trust;
            return diagramMain(options);
        }
        if (!cl.modes.isEmpty())
            return modesMain(cl.modes);
        return cl.dumpModel ? dumpModelMain(cl.script, trust) : 0;
    }

#ifdef Q_OS_LINUX
    // Without a display Qt aborts inside the application object; say why instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QTextStream(stderr) << "tolvane: no display: the window and --render need an X server "
                               "(for batch pictures run it under xvfb-run)\n";
        return 2;
    }
#endif
    // The GL format must be known before the application object exists.
    QSurfaceFormat::setDefaultFormat(QVTKOpenGLNativeWidget::defaultFormat());
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/Icon/SRC/Icon/Tolvane.png")));

    const CommandLine cl = parseCommandLine(app);
    if (!cl.error.isEmpty()) {
        QTextStream(stderr) << "tolvane: " << cl.error << '\n';
        return 2;
    }
    const ScriptTrust trust = openingTrust(cl.trust);
    if (cl.dumpModel)
        return dumpModelMain(cl.script, trust);
    if (cl.render) {
        RenderOptions options = cl.renderOptions;
        options.trust = trust;
        return renderMain(options);
    }

    Tolvane window;
    window.trustScriptsFromCommandLine = cl.trust;
    window.show();
    if (!cl.script.isEmpty())
        window.openScriptAtStart(cl.script);
    return app.exec();
}
