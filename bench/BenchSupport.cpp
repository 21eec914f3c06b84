#include "BenchSupport.h"

#include <QFile>
#include <QRegExp>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <limits>
#include <vector>

#include <poll.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "ScriptEvaluation.h"

namespace bench {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

namespace {

// The child's resident set size now, in KiB; 0 once it is gone.
long residentKb(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/statm", int(pid));
    std::FILE* f = std::fopen(path, "r");
    if (!f)
        return 0;
    long size = 0, resident = 0;
    const int got = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return got == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

}  // namespace

ChildRun runChild(const QString& program, const QStringList& arguments)
{
    return runChild(program, arguments, ChildLimits());
}

ChildRun runChild(const QString& program, const QStringList& arguments, const ChildLimits& limits)
{
    ChildRun run;
    // Build argv before forking: nothing but exec may run in the child.
    std::vector<QByteArray> words;
    words.push_back(program.toLocal8Bit());
    for (const QString& a : arguments)
        words.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return run;
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return run;
    }
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    const bool limited = limits.maxWallMs > 0.0 || limits.maxRssKb > 0;
    char buffer[4096];
    for (;;) {
        if (limited && run.stopped.isEmpty()) {
            struct pollfd p {
                pipeFds[0], POLLIN, 0
            };
            if (poll(&p, 1, 50) == 0) {
                const double elapsed = nowMs() - start;
                const long rss = limits.maxRssKb > 0 ? residentKb(pid) : 0;
                if (limits.maxWallMs > 0.0 && elapsed > limits.maxWallMs)
                    run.stopped = QString("killed after %1 s").arg(elapsed / 1000.0, 0, 'f', 0);
                else if (limits.maxRssKb > 0 && rss > limits.maxRssKb)
                    run.stopped = QString("killed at %1 GiB after %2 s")
                                      .arg(rss / 1048576.0, 0, 'f', 1)
                                      .arg(elapsed / 1000.0, 0, 'f', 0);
                if (!run.stopped.isEmpty())
                    kill(pid, SIGKILL);
                continue;
            }
        }
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0)
            run.output.append(buffer, int(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(pipeFds[0]);

    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) == pid) {
        run.wallMs = nowMs() - start;
        run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        run.peakRssKb = usage.ru_maxrss;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

double outputValue(const QByteArray& output, const QString& key)
{
    const QStringList words = QString::fromLocal8Bit(output).split(QRegExp("\\s+"), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == key) {
            bool ok = false;
            const double v = words[i + 1].toDouble(&ok);
            if (ok)
                return v;
        }
    }
    return std::numeric_limits<double>::quiet_NaN();
}

Summary summarise(QVector<double> values)
{
    Summary s;
    if (values.isEmpty())
        return s;
    std::sort(values.begin(), values.end());
    const int n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    s.min = values.first();
    s.max = values.last();
    return s;
}

QString formatSummary(const Summary& s, int decimals)
{
    return QString("%1 (%2 to %3)")
        .arg(s.median, 0, 'f', decimals)
        .arg(s.min, 0, 'f', decimals)
        .arg(s.max, 0, 'f', decimals);
}

long selfPeakRssKb()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QHash<QString, QString> takeOptions(QStringList& args)
{
    QHash<QString, QString> options;
    while (args.size() > 1 && args[0].startsWith("--")) {
        const QString name = args.takeFirst();
        options.insert(name, args.takeFirst());
    }
    return options;
}

bool parseSize(const QString& text, int* w, int* h)
{
    const QStringList parts = text.split('x');
    if (parts.size() != 2)
        return false;
    bool okW = false, okH = false;
    *w = parts[0].toInt(&okW);
    *h = parts[1].toInt(&okH);
    return okW && okH && *w > 0 && *h > 0;
}

QString modelWithoutAnalysis(const QString& script)
{
    QFile f(script);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(f.readAll());
    const int cut = text.indexOf("# ---- gravity");
    return cut >= 0 ? text.left(cut) : text;
}

bool evaluate(const QString& script)
{
    ModelInterpreter interpreter;
    const EvaluationResult r = evaluateScriptFile(interpreter, script);
    if (r.code != 0)
        QTextStream(stderr) << "evaluation failed: " << modelRecord()->statusMessage << "\n";
    return r.code == 0;
}

}  // namespace bench
