#include "zorloadresult.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QVBoxLayout>

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

const ModelRecord& model()
{
    return *modelRecord();
}

QStringView lineOf(const QStringList& lines, int step)
{
    return step >= 1 && step <= lines.size() ? QStringView(lines[step - 1]) : QStringView();
}

}  // namespace

zorloadresult::zorloadresult(QObject* parent)
    : QObject(parent), m_layouts(std::make_unique<ContourLayoutCache>())
{
}

zorloadresult::~zorloadresult() = default;

bool zorloadresult::loadLines(const QString& path, QStringList& lines, const QString& word)
{
    QFile file(path);
    if (!openResultFile(&file))
        return false;
    const QString prefix = QStringLiteral("Loading %1 File->Line: ").arg(word);
    LoadProgress progress(prefix + QStringLiteral("0    "));
    readResultLines(&file, &lines, [&](int count) { progress.update(prefix + QString::number(count)); });
    return true;
}

void zorloadresult::loadNodeDisp(const QString& path, QStringList& lines)
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
    if (!loadLines(path, lines, QStringLiteral("ElementResult"))) {
        lines.clear();
        return;
    }

    m_contourMax = 0.0;
    m_contourMin = 0.0;
    LoadProgress progress(QStringLiteral("Process File->Line: 0"));
    scanContourRange(lines, model(), selection(), &m_contourMin, &m_contourMax,
                     [&](int i) { progress.update(QStringLiteral("Process File->Line: %1").arg(i)); });
}

ContourSelection zorloadresult::selection() const
{
    ContourSelection s;
    s.elementType = m_elementType;
    s.pointAttribute = m_attributePosition == QLatin1String("Point Attribute");
    s.columns = m_columnsPerElement.toInt();
    s.firstColumn = m_firstColumn.toInt();
    s.min = m_contourMin;
    s.max = m_contourMax;
    return s;
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
    const ContourSelection s = selection();
    contourScalars(lines[step - 1], m_layouts->layout(model(), s.elementType, nodeCount), s, &out);
}
