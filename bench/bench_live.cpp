// B5, live view: the wall time of tolvane-standin streaming a model's displacements through its
// `recorder Node -tcp` line (no step delay) while Tolvane's live path listens and draws, side by
// side with the same run while a listener only reads and discards, and with nobody listening.
// The drawing listener is what the main window does for a live record: zortcpserver decodes the
// stream, and each tclSendData it emits gets attachResultScalars, the eight deforms with empty
// value lists and a render. Needs an X display (run under xvfb-run).
//
//   tolvane_bench_live [--runs N] [--steps K] [--size WxH] [--standin PATH] [--workdir DIR] model.tcl
//   tolvane_bench_live --listen draw|discard --model model.tcl [--settings config.ini] [--size WxH]
//
// A listener prints "port N" once it listens, then, after the solver hung up, what it received.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vtkNew.h>
#include <vtkRenderWindow.h>

#include "BenchSupport.h"
#include "ModelRecord.h"
#include "SettingsStore.h"
#include "vtkdraw.h"
#include "zortcpserver.h"

#ifndef TOLVANE_STANDIN
#define TOLVANE_STANDIN "tolvane-standin"
#endif

namespace {

const double kScale = 20.0;

void say(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// Ends the event loop once a peer came and went (or after a minute, with an error).
class EndWatch : public QObject {
public:
    EndWatch(std::function<bool()> done, QObject* parent = nullptr) : QObject(parent), m_done(std::move(done))
    {
        m_start = bench::nowMs();
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_done())
                QCoreApplication::exit(0);
            else if (bench::nowMs() - m_start > 60000.0)
                QCoreApplication::exit(1);
        });
        m_timer.start();
    }

private:
    std::function<bool()> m_done;
    QTimer m_timer;
    double m_start = 0.0;
};

int drawListener(const QString& model, const QString& settings, int w, int h)
{
    if (!bench::evaluate(model))
        return 1;
    vtkNew<vtkRenderWindow> window;
    window->SetSize(w, h);
    vtkdraw draw(window);
    draw.setSettingsPath(settings);
    draw.updateBackground();
    draw.drawModel();

    zortcpserver server(0);
    if (!server.isListening())
        return 1;
    server.setNodeCount(modelRecord()->nodeTags.size());
    int records = 0, draws = 0;
    double first = 0.0, last = 0.0;
    QObject::connect(&server, &zortcpserver::recordReceived, [&](int, double) {
        if (records++ == 0)
            first = bench::nowMs();
        last = bench::nowMs();
    });
    // The main window's live step.
    QObject::connect(&server, &zortcpserver::tclSendData,
                     [&](double, QVector<double> x, QVector<double> y, QVector<double> z) {
                         const int n = modelRecord()->nodeTags.size();
                         if (x.size() != n || y.size() != n || z.size() != n)
                             return;
                         draw.attachResultScalars();
                         draw.deformFreeNodes(kScale, x, y, z);
                         draw.deformFixedNodes(kScale, x, y, z);
                         draw.deformEqualDOF(kScale, x, y, z);
                         draw.deformRigidLinks(kScale, x, y, z);
                         draw.deformFrames(kScale, x, y, z, {});
                         draw.deformThreeNodeElements(kScale, x, y, z, {});
                         draw.deformFourNodeElements(kScale, x, y, z, {});
                         draw.deformEightNodeElements(kScale, x, y, z, {});
                         draw.render();
                         ++draws;
                     });
    say(QString("port %1\n").arg(server.serverPort()));
    EndWatch watch([&] { return records > 0 && server.openConnections() == 0; });
    const int code = QCoreApplication::exec();
    say(QString("records %1 draws %2 span_us %3\n")
            .arg(records)
            .arg(draws)
            .arg(qint64((last - first) * 1000)));
    return code;
}

// The least a listener can do: one reusable buffer, plain sockets, no event loop.
int discardListener()
{
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (server < 0 || bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(server, 1) != 0 || getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 1;
    say(QString("port %1\n").arg(ntohs(address.sin_port)));
    pollfd wait{server, POLLIN, 0};
    if (poll(&wait, 1, 60000) != 1)
        return 1;
    const int peer = accept(server, nullptr, nullptr);
    if (peer < 0)
        return 1;
    std::vector<char> buffer(1 << 20);
    qint64 bytes = 0;
    double first = 0.0, last = 0.0;
    for (;;) {
        const ssize_t n = read(peer, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (bytes == 0)
            first = bench::nowMs();
        last = bench::nowMs();
        bytes += n;
    }
    close(peer);
    close(server);
    say(QString("bytes %1 span_us %2\n").arg(bytes).arg(qint64((last - first) * 1000)));
    return 0;
}

int listenMain(const QStringList& args)
{
    QString kind = args.value(0), model, settings, size = "1000x600";
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--model")
            model = args[i + 1];
        else if (args[i] == "--settings")
            settings = args[i + 1];
        else if (args[i] == "--size")
            size = args[i + 1];
    }
    int w = 0, h = 0;
    if (kind == "discard")
        return discardListener();
    if (kind != "draw" || model.isEmpty() || settings.isEmpty() || !bench::parseSize(size, &w, &h))
        return 2;
    return drawListener(model, settings, w, h);
}

bool writeText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

struct Listener {
    QProcess process;
    int port = 0;
    bool start(const QString& self, const QStringList& args)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(self, args);
        if (!process.waitForStarted(10000))
            return false;
        while (process.waitForReadyRead(60000)) {
            const QByteArray line = process.readLine();
            if (line.startsWith("port ")) {
                port = line.mid(5).trimmed().toInt();
                return port > 0;
            }
        }
        return false;
    }
    QByteArray finish()
    {
        if (!process.waitForFinished(90000))
            process.kill();
        return process.readAll();
    }
};

struct Series {
    QVector<double> wall, cpu, span, draws;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == "--listen")
        return listenMain(args.mid(1));

    int runs = 5, steps = 500;
    QString size = "1000x600", standin = TOLVANE_STANDIN;
    QString workdir = QDir::temp().filePath("tolvane-bench");
    const QHash<QString, QString> options = bench::takeOptions(args);
    if (options.contains("--runs"))
        runs = qMax(1, options["--runs"].toInt());
    if (options.contains("--steps"))
        steps = qMax(1, options["--steps"].toInt());
    if (options.contains("--size"))
        size = options["--size"];
    if (options.contains("--standin"))
        standin = options["--standin"];
    if (options.contains("--workdir"))
        workdir = options["--workdir"];
    QTextStream err(stderr);
    int w = 0, h = 0;
    if (args.size() != 1 || !bench::parseSize(size, &w, &h)) {
        err << "usage: tolvane_bench_live [--runs N] [--steps K] [--size WxH] [--standin PATH] [--workdir "
               "DIR] "
               "model.tcl\n";
        return 2;
    }
    const QDir dir(QDir(workdir).filePath("live"));
    QDir().mkpath(dir.path());
    const QString settings = dir.filePath("config.ini");
    const QString model = dir.filePath("model.tcl");
    const QString live = dir.filePath("live.tcl");
    const QString text = bench::modelWithoutAnalysis(QFileInfo(args[0]).absoluteFilePath());
    if (text.isEmpty() || !SettingsStore::writeDefaults(settings) || !writeText(model, text) ||
        !bench::evaluate(model)) {
        err << "cannot prepare the model from " << args[0] << "\n";
        return 1;
    }
    QStringList tags;
    for (int tag : modelRecord()->nodeTags)
        tags << QString::number(tag);
    const int nodes = tags.size();
    // As the instrumented script of a run with live monitoring has it.
    auto writeLive = [&](int port) {
        return writeText(live,
                         text + QString("\nrecorder Node -tcp 127.0.0.1 %1 -time -node %2 -dof 1 2 3 disp\n"
                                        "analyze %3 0.01\n")
                                    .arg(port)
                                    .arg(tags.join(' '))
                                    .arg(steps));
    };
    const QString self = QCoreApplication::applicationFilePath();

    Series drawing, discarding, alone;
    for (int i = 0; i < runs; ++i) {
        // Alternate the three so that drifting load hits all alike.
        for (const QString kind : {"draw", "discard"}) {
            Listener listener;
            if (!listener.start(
                    self, {"--listen", kind, "--model", model, "--settings", settings, "--size", size}) ||
                !writeLive(listener.port)) {
                err << "the " << kind << " listener did not start\n";
                return 1;
            }
            const bench::ChildRun run = bench::runChild(standin, {live});
            const QByteArray report = listener.finish();
            if (run.exitCode != 0 || listener.process.exitCode() != 0) {
                err << "run " << i + 1 << " (" << kind << ") failed: stand-in exit " << run.exitCode
                    << ", listener " << listener.process.exitCode() << ": " << report;
                return 1;
            }
            Series& s = kind == QLatin1String("draw") ? drawing : discarding;
            s.wall << run.wallMs;
            s.cpu << run.cpuMs;
            s.span << bench::outputValue(report, "span_us") / 1000.0;
            if (kind == QLatin1String("draw")) {
                if (bench::outputValue(report, "records") != steps) {
                    err << "run " << i + 1 << ": the drawing listener missed records: " << report;
                    return 1;
                }
                s.draws << bench::outputValue(report, "draws");
            } else if (bench::outputValue(report, "bytes") != 8.0 * (1 + (steps + 1) * (3.0 * nodes + 2))) {
                err << "run " << i + 1 << ": the discarding listener missed bytes: " << report;
                return 1;
            }
        }
        // Nobody listening: the stand-in warns and runs without streaming.
        if (!writeLive(1)) {
            err << "cannot write " << live << "\n";
            return 1;
        }
        const bench::ChildRun run = bench::runChild(standin, {live});
        alone.wall << run.wallMs;
        alone.cpu << run.cpuMs;
        err << "run " << i + 1 << ": stand-in " << qRound(drawing.wall.last()) << " ms drawn ("
            << drawing.draws.last() << " draws), " << qRound(discarding.wall.last()) << " ms discarded, "
            << qRound(run.wallMs) << " ms unheard\n";
    }

    auto cell = [](const QVector<double>& v) { return bench::formatSummary(bench::summarise(v), 0); };
    auto med = [](const QVector<double>& v) { return bench::summarise(v).median; };
    QTextStream out(stdout);
    out << "B5 live view: " << QFileInfo(args[0]).fileName() << ", " << nodes << " nodes, " << steps
        << " steps streamed, " << w << "x" << h << ", " << runs << " runs, median (min to max)\n";
    out << "| measure | drawing listener (Tolvane) | discarding listener | drawn / discarded | nobody "
           "listening |\n";
    out << "|---|---|---|---|---|\n";
    out << "| stand-in wall time, ms | " << cell(drawing.wall) << " | " << cell(discarding.wall) << " | "
        << QString::number(med(drawing.wall) / med(discarding.wall), 'f', 2) << " | " << cell(alone.wall)
        << " |\n";
    out << "| stand-in CPU (user + sys), ms | " << cell(drawing.cpu) << " | " << cell(discarding.cpu)
        << " | | " << cell(alone.cpu) << " |\n";
    out << "| listener: first to last record received, ms | " << cell(drawing.span) << " | "
        << cell(discarding.span) << " | | |\n";
    out << "| steps drawn of " << steps << " | " << cell(drawing.draws) << " | | | |\n";
    return 0;
}
