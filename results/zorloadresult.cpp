#include "zorloadresult.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "ComponentNames.h"
#include "ModelRecord.h"
#include "ResultFile.h"

namespace {

// The small modal window that shows how far a long read has come; events are let through at
// each update so that it repaints and the main window stays responsive.
class LoadProgress {
public:
    explicit LoadProgress(const QString& text)
    {
        m_dialog.setWindowTitle(QStringLiteral("Progress"));
        m_dialog.setWindowFlags(m_dialog.windowFlags() | Qt::WindowStaysOnTopHint);
        m_dialog.setModal(true);
        auto* layout = new QVBoxLayout(&m_dialog);
        m_label = new QLabel(text, &m_dialog);
        m_label->setFont(QFont(QStringLiteral("Microsoft YaHei UI")));
        layout->addWidget(m_label);
        m_dialog.show();
    }
    ~LoadProgress() { m_dialog.close(); }

    void update(const QString& text)
    {
        m_label->setText(text);
        QCoreApplication::processEvents();
    }

private:
    QDialog m_dialog;
    QLabel* m_label;
};

// Scans the lines handed over while the file is still being read, on a thread of its own; once
// the read is done the caller's thread takes parts too. On a file of a hundred megabytes the scan
// takes longer than the read. SCAN is a copyable accumulator with scan(lines) and merge(other):
// the result of a list is the merge of the results of its parts.
template <typename Scan>
class ParallelScan {
public:
    explicit ParallelScan(const Scan& empty) : m_empty(empty), m_total(empty), m_thread([this] { run(); }) {}
    ~ParallelScan()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_closing = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    ParallelScan(const ParallelScan&) = delete;
    ParallelScan& operator=(const ParallelScan&) = delete;

    // Hands over the lines of the list not handed over yet.
    void handOver(const QStringList& lines)
    {
        // A list of its own: mid() may share the caller's, which goes on growing on this thread.
        QStringList part;
        part.reserve(lines.size() - m_handed);
        for (int i = m_handed; i < lines.size(); ++i)
            part.append(lines.at(i));
        m_handed = lines.size();
        if (part.isEmpty())
            return;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.push_back(std::move(part));
        }
        m_wake.notify_one();
    }

    // Scans parts on this thread too until COUNT of the lines handed over are scanned.
    void waitFor(int count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const int wanted = std::min(count, m_handed);
        while (m_scanned < wanted) {
            if (!scanNext(lock))
                m_progress.wait(lock);
        }
    }

    Scan result()
    {
        waitFor(m_handed);
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_total;
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return !m_queue.empty() || m_closing; });
            if (!scanNext(lock))
                return;
        }
    }

    // Takes the next part, if any, and scans it with the lock released.
    bool scanNext(std::unique_lock<std::mutex>& lock)
    {
        if (m_queue.empty())
            return false;
        const QStringList part = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        Scan scan = m_empty;
        scan.scan(part);
        lock.lock();
        m_total.merge(scan);
        m_scanned += part.size();
        m_progress.notify_all();
        return true;
    }

    const Scan m_empty;
    Scan m_total;
    int m_handed = 0;  // touched by the caller's thread only
    std::mutex m_mutex;
    std::condition_variable m_wake, m_progress;
    std::deque<QStringList> m_queue;
    int m_scanned = 0;
    bool m_closing = false;
    std::thread m_thread;  // last: starts once everything above exists
};

// The contour range and the envelopes of the chosen values.
struct ContourScan {
    // A copy: its lists are shared with the record's, and nothing can change them under the scan.
    ModelRecord model;
    ContourSelection selection;
    double min = 0.0, max = 0.0;
    ContourEnvelope envelope;
    void scan(const QStringList& lines) { scanContourRange(lines, model, selection, &min, &max, {}, &envelope); }
    void merge(const ContourScan& other)
    {
        min = std::min(min, other.min);
        max = std::max(max, other.max);
        envelope.merge(other.envelope);
    }
};

// The largest node displacement, for the deformation scale.
struct DisplacementScan {
    int ndm = 0;
    double largest = 0.0;
    void scan(const QStringList& lines) { largest = std::max(largest, largestDisplacement(lines, ndm)); }
    void merge(const DisplacementScan& other) { largest = std::max(largest, other.largest); }
};

const ModelRecord& model()
{
    return *modelRecord();
}

QStringView lineOf(const QStringList& lines, int step)
{
    return step >= 1 && step <= lines.size() ? QStringView(lines[step - 1]) : QStringView();
}

// Appends the file's lines behind the progress dialog; afterHundred runs at each update, before
// the events are let through.
bool readWithProgress(const QString& path, QStringList& lines, const QString& word,
                      const std::function<void()>& afterHundred)
{
    QFile file(path);
    if (!openResultFile(&file))
        return false;
    const QString prefix = QStringLiteral("Loading %1 File->Line: ").arg(word);
    LoadProgress progress(prefix + QStringLiteral("0    "));
    readResultLines(&file, &lines, [&](int count) {
        if (afterHundred)
            afterHundred();
        progress.update(prefix + QString::number(count));
    });
    return true;
}

}  // namespace

zorloadresult::zorloadresult(QObject* parent)
    : QObject(parent), m_layouts(std::make_unique<ContourLayoutCache>())
{
}

zorloadresult::~zorloadresult() = default;

bool zorloadresult::loadLines(const QString& path, QStringList& lines, const QString& word)
{
    return readWithProgress(path, lines, word, {});
}

void zorloadresult::loadNodeDisp(const QString& path, QStringList& lines)
{
    // Every value is read once anyway for the scale: along with the read, on the other core.
    ParallelScan<DisplacementScan> scan(DisplacementScan{model().ndm, 0.0});
    readWithProgress(path, lines, QStringLiteral("NodeDisp"), [&] { scan.handOver(lines); });
    scan.handOver(lines);
    m_largestDisplacement = scan.result().largest;
}

void zorloadresult::loadNodeRotations(const QString& path, QStringList& lines)
{
    loadLines(path, lines, QStringLiteral("NodeDisp"));
}

void zorloadresult::loadNodeReaction(const QString& path, QStringList& lines)
{
    loadLines(path, lines, QStringLiteral("NodeReaction"));
}

void zorloadresult::loadElementResult(const QString& path, QStringList& lines, const QString& elementType,
                                      const QString& response, const QString& attributePosition,
                                      const QString& columnsPerElement, const QString& firstColumn)
{
    m_elementType = elementType;
    m_response = response;
    m_attributePosition = attributePosition;
    m_columnsPerElement = columnsPerElement;
    m_firstColumn = firstColumn;
    m_nodeCount = firstNodeCount(model(), elementType);
    m_selection = makeSelection();
    m_envelope = ContourEnvelope();
    // The scan runs along with the read, over every line of the list as before.
    ParallelScan<ContourScan> scan(ContourScan{model(), m_selection, 0.0, 0.0, {}});
    if (!readWithProgress(path, lines, QStringLiteral("ElementResult"), [&] { scan.handOver(lines); })) {
        lines.clear();
        return;
    }
    scan.handOver(lines);

    m_contourMax = 0.0;
    m_contourMin = 0.0;
    LoadProgress progress(QStringLiteral("Process File->Line: 0"));
    for (int i = 0; i < lines.size(); i += 100) {
        scan.waitFor(i);
        progress.update(QStringLiteral("Process File->Line: %1").arg(i));
    }
    const ContourScan done = scan.result();
    m_contourMin = done.min;
    m_contourMax = done.max;
    m_envelope = done.envelope;
    m_selection.min = m_contourMin;
    m_selection.max = m_contourMax;
}

ContourSelection zorloadresult::selection() const
{
    return m_selection;
}

ContourSelection zorloadresult::makeSelection() const
{
    ContourSelection s;
    s.elementType = m_elementType;
    const int columns = m_columnsPerElement.toInt();
    s.averaged = m_attributePosition == nodeAveragedText();
    // Averaging takes the element-node values where the block has them, the element's value otherwise.
    s.pointAttribute = m_attributePosition == QLatin1String("Point Attribute") ||
                       (s.averaged && !componentNames(m_response, m_nodeCount, model().ndm, columns).point.isEmpty());
    s.columns = columns;
    s.firstColumn = m_firstColumn.toInt();
    s.min = m_contourMin;
    s.max = m_contourMax;
    return s;
}

const ContourLayout& zorloadresult::layout() const
{
    return m_layouts->layout(model(), m_elementType, m_nodeCount);
}

void zorloadresult::parseNodeDispLine(const QStringList& lines, int step, double& time, QVector<double>& x,
                                      QVector<double>& y, QVector<double>& z)
{
    appendNodeValues(lineOf(lines, step), model().ndm, &time, &x, &y, &z);
}

void zorloadresult::parseNodeReactionLine(const QStringList& lines, int step, double& time,
                                          QVector<double>& x, QVector<double>& y, QVector<double>& z)
{
    appendNodeValues(lineOf(lines, step), 3, &time, &x, &y, &z);
}

void zorloadresult::elementContourScalars(int nodeCount, const QStringList& lines, int step,
                                          QVector<double>& out) const
{
    // No line for the step (no element file, or a shorter one): nothing to colour by.
    if (step < 1 || step > lines.size()) {
        out.clear();
        return;
    }
    contourScalars(lines[step - 1], m_layouts->layout(model(), m_elementType, nodeCount), m_selection, &out);
}

QString zorloadresult::nodeAveragedText()
{
    return QStringLiteral("Node (averaged)");
}
