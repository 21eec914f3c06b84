#include "BenchSupport.h"

#include <QRegExp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

ChildRun runChild(const QString& program, const QStringList& arguments)
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
    char buffer[4096];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, int(n));
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

}  // namespace bench
