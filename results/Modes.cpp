#include "Modes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtMath>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "NodeIndex.h"

namespace {

// Splits DATA into its lines and each line at blanks, handing every number to TAKE as it is read;
// FIELDS gets the count per line. A field that is no finite number reads as NaN, so callers can
// tell it apart.
template <typename Take>
void readNumbers(const QByteArray& data, QVector<int>* fields, Take take)
{
    const char* p = data.constData();
    const char* end = p + data.size();
    int count = 0;
    while (p < end) {
        if (*p == '\n') {
            fields->append(count);
            count = 0;
            ++p;
            continue;
        }
        if (*p == ' ' || *p == '\r' || *p == '\t') {
            ++p;
            continue;
        }
        const char* first = p;
        while (p < end && *p != ' ' && *p != '\n' && *p != '\r' && *p != '\t')
            ++p;
        double value = qQNaN();
        const char* from = *first == '+' ? first + 1 : first;
        const auto result = std::from_chars(from, p, value);
        if (result.ec != std::errc() || result.ptr != p || !std::isfinite(value))
            value = qQNaN();
        take(value);
        ++count;
    }
    if (count > 0)
        fields->append(count);
}

bool readFile(const QString& path, QByteArray* data)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *data = f.readAll();
    return true;
}

QString readCall(const QString& dir, EigenCall* call)
{
    const QString base = QStringLiteral("Modes%1").arg(call->number);
    QByteArray data;
    if (!readFile(dir + QLatin1Char('/') + base + QStringLiteral("Nodes.file"), &data))
        return QStringLiteral("%1Nodes.file is missing").arg(base);
    QVector<int> fields;
    bool tagsOk = true;
    readNumbers(data, &fields, [&](double v) {
        tagsOk = tagsOk && std::isfinite(v) && v == std::floor(v);
        call->nodeTags.append(int(v));
    });
    if (!tagsOk || fields.size() > 1)
        return QStringLiteral("%1Nodes.file does not hold one line of node tags").arg(base);

    if (!readFile(dir + QLatin1Char('/') + base + QStringLiteral(".file"), &data))
        return QStringLiteral("%1.file is missing").arg(base);
    const int nodes = call->nodeTags.size();
    call->shapes.reserve(int(qMin<qint64>(data.size() / 2, 1 << 28)));
    fields.clear();
    int field = 0;
    readNumbers(data, &fields, [&](double v) {
        if (field == 0)
            call->eigenvalues.append(v);
        else
            call->shapes.append(std::isfinite(v) ? v : 0.0);
        field = field == 3 * nodes ? 0 : field + 1;
    });
    for (int m = 0; m < fields.size(); ++m)
        if (fields[m] != 1 + 3 * nodes)
            return QStringLiteral("line %1 of %2.file holds %3 values, not the eigenvalue and 3 per node (%4)")
                .arg(m + 1)
                .arg(base)
                .arg(fields[m])
                .arg(1 + 3 * nodes);

    // Mass ratios are optional: without them, or with unusable ones, the table says "no mass".
    if (readFile(dir + QLatin1Char('/') + base + QStringLiteral("Mass.file"), &data)) {
        QVector<double> ratios;
        fields.clear();
        readNumbers(data, &fields, [&](double v) { ratios.append(v); });
        const bool usable = fields.size() == call->modeCount() && !fields.isEmpty() &&
                            std::all_of(fields.cbegin(), fields.cend(), [&](int n) { return n == fields[0]; }) &&
                            fields[0] <= 3 && std::all_of(ratios.cbegin(), ratios.cend(), [](double v) {
                                return std::isfinite(v);
                            });
        for (int m = 0; usable && m < fields.size(); ++m)
            call->massRatios.append(ratios.mid(m * fields[0], fields[0]));
    }
    return QString();
}

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

}  // namespace

QVector<EigenCall> readRecordedModes(const QString& resultDir)
{
    static const QRegularExpression name(QStringLiteral("^Modes(\\d+)\\.file$"));
    QVector<int> numbers;
    for (const QString& file : QDir(resultDir).entryList({QStringLiteral("Modes*.file")}, QDir::Files)) {
        const QRegularExpressionMatch m = name.match(file);
        if (m.hasMatch())
            numbers.append(m.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    QVector<EigenCall> calls;
    for (int number : numbers) {
        EigenCall call;
        call.number = number;
        call.problem = readCall(resultDir, &call);
        if (!call.problem.isEmpty()) {
            EigenCall failed;
            failed.number = number;
            failed.problem = call.problem;
            call = failed;
        }
        calls.append(call);
    }
    return calls;
}

ModeRow modeRow(const EigenCall& call, int mode)
{
    ModeRow row;
    row.mode = mode + 1;
    row.lambda = call.eigenvalues.value(mode, qQNaN());
    row.oscillates = std::isfinite(row.lambda) && row.lambda > 0.0;
    if (row.oscillates) {
        row.omega = std::sqrt(row.lambda);
        row.frequency = row.omega / (2.0 * M_PI);
        row.period = 2.0 * M_PI / row.omega;
    }
    row.massRatios = call.massRatios.value(mode);
    return row;
}

int massColumnCount(const QVector<EigenCall>& calls)
{
    int columns = 0;
    for (const EigenCall& call : calls)
        for (const QVector<double>& ratios : call.massRatios)
            columns = qMax(columns, ratios.size());
    return qMax(columns, 1);
}

QStringList modeRowTexts(const ModeRow& row, int massColumns)
{
    QStringList cells{QString::number(row.mode), number(row.lambda)};
    for (double v : {row.omega, row.frequency, row.period})
        cells << (row.oscillates ? number(v) : QStringLiteral("-"));
    for (int c = 0; c < massColumns; ++c)
        cells << (row.massRatios.isEmpty() ? QStringLiteral("no mass")
                                           : c < row.massRatios.size() ? number(row.massRatios[c])
                                                                       : QString());
    return cells;
}

QStringList modeTableLines(const QVector<EigenCall>& calls)
{
    const int massColumns = massColumnCount(calls);
    QStringList header{QStringLiteral("call"), QStringLiteral("mode"), QStringLiteral("lambda"),
                       QStringLiteral("omega_rad/s"), QStringLiteral("f_Hz"), QStringLiteral("T_s")};
    static const char* const axes[] = {"X", "Y", "Z"};
    for (int c = 0; c < massColumns; ++c)
        header << QStringLiteral("mass_%1_%").arg(QLatin1String(axes[c]));
    QStringList lines{header.join(QLatin1Char('\t'))};
    for (const EigenCall& call : calls)
        for (int m = 0; m < call.modeCount(); ++m)
            lines << QString::number(call.number) + QLatin1Char('\t') +
                         modeRowTexts(modeRow(call, m), massColumns).join(QLatin1Char('\t'));
    return lines;
}

double largestTranslation(const EigenCall& call, int mode)
{
    const int nodes = call.nodeTags.size();
    if (mode < 0 || mode >= call.modeCount() || call.shapes.size() < (mode + 1) * nodes * 3)
        return 0.0;
    const double* v = call.shapes.constData() + qsizetype(mode) * nodes * 3;
    double largest = 0.0;
    for (int i = 0; i < nodes; ++i, v += 3)
        largest = std::max(largest, v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return std::sqrt(largest);
}

void modeDisplacements(const EigenCall& call, int mode, const QVector<int>& modelTags, QVector<double>* x,
                       QVector<double>* y, QVector<double>* z)
{
    const int n = modelTags.size();
    x->fill(0.0, n);
    y->fill(0.0, n);
    z->fill(0.0, n);
    const int nodes = call.nodeTags.size();
    if (mode < 0 || mode >= call.modeCount() || call.shapes.size() < (mode + 1) * nodes * 3)
        return;
    const NodeIndex recorded(call.nodeTags);
    const double* v = call.shapes.constData() + qsizetype(mode) * nodes * 3;
    for (int j = 0; j < n; ++j) {
        const int i = recorded.position(modelTags[j]);
        if (i < 0)
            continue;
        (*x)[j] = v[3 * i];
        (*y)[j] = v[3 * i + 1];
        (*z)[j] = v[3 * i + 2];
    }
}
