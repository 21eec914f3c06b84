#include "zor_xyplot_panel.h"

#include <QComboBox>
#include <QCompleter>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "zor_monitor_panel.h"

namespace {

const std::pair<Quantity::Kind, const char*> kKinds[] = {{Quantity::NodeDisp, "Node displacement"},
                                                         {Quantity::NodeReaction, "Node reaction"},
                                                         {Quantity::ReactionSum, "Sum of reactions"},
                                                         {Quantity::ElementValue, "Element value"},
                                                         {Quantity::Drift, "Drift of two nodes"},
                                                         {Quantity::Time, "Time"},
                                                         {Quantity::Step, "Step"}};

QLineEdit* tagField(QWidget* parent, const QString& placeholder, const QVector<int>& tags)
{
    auto* edit = new QLineEdit(parent);
    edit->setPlaceholderText(placeholder);
    QStringList texts;
    for (int tag : tags)
        texts << QString::number(tag);
    texts.sort();
    auto* completer = new QCompleter(texts, edit);
    edit->setCompleter(completer);
    edit->setMinimumWidth(70);
    edit->setMaximumWidth(110);
    return edit;
}

bool readTag(const QLineEdit* edit, const QString& what, int* tag, QString* error)
{
    bool ok = false;
    *tag = edit->text().trimmed().toInt(&ok);
    if (!ok)
        *error = QStringLiteral("Type the %1's tag.").arg(what);
    return ok;
}

}  // namespace

QuantityRow::QuantityRow(const QString& axis, const ResultTables& tables, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(axis, this));
    kind = new QComboBox(this);
    for (const auto& k : kKinds)
        kind->addItem(QString::fromLatin1(k.second), int(k.first));
    row->addWidget(kind);
    node = tagField(this, QStringLiteral("node"), tables.nodeTags);
    lowerNode = tagField(this, QStringLiteral("lower node"), tables.nodeTags);
    nodeSet = new QLineEdit(QStringLiteral("all restrained"), this);
    nodeSet->setToolTip(QStringLiteral("Node tags and ranges such as 1 2 5-9, or \"all restrained\""));
    element = tagField(this, QStringLiteral("element"), tables.elementTags);
    dof = new QSpinBox(this);
    dof->setPrefix(QStringLiteral("DOF "));
    dof->setRange(1, qBound(1, tables.ndf, 6));
    column = new QSpinBox(this);
    column->setPrefix(QStringLiteral("value "));
    column->setRange(1, qMax(1, tables.elementColumns));
    height = new QDoubleSpinBox(this);
    height->setPrefix(QStringLiteral("/ h = "));
    height->setDecimals(4);
    height->setRange(0.0, 1e9);
    height->setToolTip(QStringLiteral("Height the drift is divided by; 0 for the plain difference"));
    for (QWidget* w : std::initializer_list<QWidget*>{node, lowerNode, nodeSet, element, dof, column, height})
        row->addWidget(w);
    row->addStretch();
    connect(kind, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &QuantityRow::showFields);
    showFields();
}

void QuantityRow::setKind(Quantity::Kind k)
{
    kind->setCurrentIndex(kind->findData(int(k)));
}

void QuantityRow::showFields()
{
    const auto k = Quantity::Kind(kind->currentData().toInt());
    const bool nodeKind = k == Quantity::NodeDisp || k == Quantity::NodeReaction || k == Quantity::Drift;
    node->setVisible(nodeKind);
    lowerNode->setVisible(k == Quantity::Drift);
    height->setVisible(k == Quantity::Drift);
    nodeSet->setVisible(k == Quantity::ReactionSum);
    dof->setVisible(nodeKind || k == Quantity::ReactionSum);
    element->setVisible(k == Quantity::ElementValue);
    column->setVisible(k == Quantity::ElementValue);
}

bool QuantityRow::quantity(const ResultTables& tables, Quantity* q, QString* error) const
{
    q->kind = Quantity::Kind(kind->currentData().toInt());
    q->dof = dof->value();
    q->column = column->value();
    q->height = height->value();
    switch (q->kind) {
        case Quantity::NodeDisp:
        case Quantity::NodeReaction:
            return readTag(node, QStringLiteral("node"), &q->node, error);
        case Quantity::Drift:
            return readTag(node, QStringLiteral("upper node"), &q->node, error) &&
                   readTag(lowerNode, QStringLiteral("lower node"), &q->lowerNode, error);
        case Quantity::ElementValue:
            return readTag(element, QStringLiteral("element"), &q->element, error);
        case Quantity::ReactionSum: {
            const NodeSet set = parseNodeSet(nodeSet->text(), tables);
            q->nodes = set.tags;
            q->nodeSet = nodeSet->text().simplified();
            *error = set.error;
            return set.error.isEmpty();
        }
        case Quantity::Time:
        case Quantity::Step:
            return true;
    }
    return false;
}

zor_xyplot_panel::zor_xyplot_panel(std::function<ResultTables()> tables, zor_monitor_panel* window)
    : QWidget(window), m_tables(std::move(tables)), m_window(window)
{
    setObjectName(QStringLiteral("zor_xyplot_panel"));
    const ResultTables now = m_tables();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    xRow = new QuantityRow(QStringLiteral("X:"), now, this);
    yRow = new QuantityRow(QStringLiteral("Y:"), now, this);
    // A pushover curve until the user chooses otherwise.
    xRow->setKind(Quantity::NodeDisp);
    yRow->setKind(Quantity::ReactionSum);
    auto* actions = new QHBoxLayout;
    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    plotButton = new QPushButton(QStringLiteral("Plot"), this);
    plotButton->setObjectName(QStringLiteral("plotButton"));
    plotButton->setAutoDefault(false);
    actions->addWidget(message, 1);
    actions->addWidget(plotButton);
    column->addWidget(xRow);
    column->addWidget(yRow);
    column->addLayout(actions);
    connect(plotButton, &QPushButton::clicked, this, &zor_xyplot_panel::plot);
}

void zor_xyplot_panel::plot()
{
    const ResultTables tables = m_tables();
    Quantity x, y;
    QString error;
    PlotCurve curve;
    if (xRow->quantity(tables, &x, &error) && yRow->quantity(tables, &y, &error))
        curve = xyCurve(x, y, tables, &error);
    if (!error.isEmpty()) {
        message->setText(error);
        return;
    }
    message->setText(curve.x.isEmpty() ? QStringLiteral("No step holds both values.")
                                       : QStringLiteral("%1 points").arg(curve.x.size()));
    m_window->setWindowTitle(QStringLiteral("XY Plot - %1 against %2").arg(curve.yTitle, curve.xTitle));
    m_window->showCurve(curve);
}
