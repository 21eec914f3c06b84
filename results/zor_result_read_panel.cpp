#include "zor_result_read_panel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

#include "ModelRecord.h"
#include "ResultFile.h"
#include "ResultParsing.h"
#include "RunRecord.h"
#include "zorloadresult.h"

namespace {

// What the attribute choice shows for each position text.
QString attributeCaption(const QString& attribute)
{
    if (attribute == zor_result_read_panel::pointText())
        return QStringLiteral("Per element node");
    if (attribute == zor_result_read_panel::elementText())
        return QStringLiteral("Per element");
    return attribute;
}

}  // namespace

int sampleColumns(const QString& sampleLine)
{
    return sampleLine.split(QLatin1Char(' ')).size() - 1;
}

QStringList attributeChoices(const ComponentNames& names, int nodeCount)
{
    QStringList out;
    if (!names.point.isEmpty() && nodeCount > 0)
        out << zor_result_read_panel::pointText();
    out << zor_result_read_panel::elementText();
    if (nodeCount > 0 && !names.element.isEmpty())
        out << zorloadresult::nodeAveragedText();
    return out;
}

const QVector<ComponentName>& attributeComponents(const ComponentNames& names, const QString& attribute)
{
    // Averaging takes the element-node values where there are any.
    const bool perNode = attribute == zor_result_read_panel::pointText() ||
                         (attribute == zorloadresult::nodeAveragedText() && !names.point.isEmpty());
    return perNode ? names.point : names.element;
}

QStringList contourValueWords()
{
    return {QStringLiteral("step"), QStringLiteral("max"), QStringLiteral("min"), QStringLiteral("absmax")};
}

zor_result_read_panel::zor_result_read_panel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_result_read_panel"));
    setWindowTitle(QStringLiteral("Select Result"));
    resize(330, 220);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Microsoft YaHei UI")));

    auto* grid = new QGridLayout(this);
    const auto row = [&](int r, QLabel*& text, const char* textName, const QString& caption,
                         QWidget* fieldWidget, const char* fieldName) {
        text = new QLabel(caption, this);
        text->setObjectName(QLatin1String(textName));
        fieldWidget->setObjectName(QLatin1String(fieldName));
        grid->addWidget(text, r, 0);
        grid->addWidget(fieldWidget, r, 1);
    };
    comboBox = new QComboBox(this);
    comboBox_2 = new QComboBox(this);
    comboBox_3 = new QComboBox(this);
    spinBox = new QSpinBox(this);
    spinBox->setMinimum(1);
    componentBox = new QComboBox(this);
    valueBox = new QComboBox(this);
    shapeBox = new QComboBox(this);
    row(0, label, "label", QStringLiteral("Element Type:"), comboBox, "comboBox");
    row(1, label_2, "label_2", QStringLiteral("Response:"), comboBox_2, "comboBox_2");
    row(2, label_3, "label_3", QStringLiteral("Shown:"), comboBox_3, "comboBox_3");
    row(3, label_4, "label_4", QStringLiteral("Component:"), componentBox, "componentBox");
    row(4, valueLabel, "valueLabel", QStringLiteral("Value:"), valueBox, "valueBox");
    row(5, shapeLabel, "shapeLabel", QStringLiteral("Drawn on:"), shapeBox, "shapeBox");
    // The column travels in the spin box, which the component choice sets.
    spinBox->setObjectName(QStringLiteral("spinBox"));
    spinBox->hide();
    connect(componentBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { spinBox->setValue(index + 1); });
    valueBox->addItems({QStringLiteral("At each step"), QStringLiteral("Maximum over all steps"),
                        QStringLiteral("Minimum over all steps"),
                        QStringLiteral("Largest absolute value over all steps")});
    shapeBox->addItems({QStringLiteral("The last step's shape"), QStringLiteral("The undeformed model")});
    shapeBox->setEnabled(false);
    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    grid->addWidget(buttonBox, 6, 0, 1, 2);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QMetaObject::connectSlotsByName(this);
}

void zor_result_read_panel::loadRunRecord(const QString& directory)
{
    m_settings.clear();
    comboBox->clear();
    comboBox_2->clear();
    comboBox_3->clear();
    const RunRecord record = readRunRecord(directory + QLatin1Char('/') + runRecordFileName());
    // The results lie beside the record, wherever the project has moved since the run: the
    // directory the record names may be another machine's or no longer there.
    m_resultBase = directory;
    if (!record.readable)
        return;
    m_settings = record.settings;
    // The first type added is selected, which fills the rest of the dialog.
    for (const QStringList& setting : m_settings)
        comboBox->addItem(setting.value(0));
}

void zor_result_read_panel::on_comboBox_currentIndexChanged(int index)
{
    if (index < 0 || index >= m_settings.size())
        return;
    comboBox_2->clear();
    comboBox_2->addItems(m_settings[index].mid(1));
}

void zor_result_read_panel::on_comboBox_2_currentIndexChanged(const QString& arg1)
{
    const QString type = comboBox->currentText();
    const QString sample = m_resultBase + QStringLiteral("/TolvaneResult/") + type + QLatin1Char('_') + arg1 +
                           QStringLiteral("S.file");
    QString line;
    if (!readFirstResultLine(sample, &line))
        return;
    m_columns = sampleColumns(line);
    m_nodeCount = firstNodeCount(*modelRecord(), type);
    m_names = componentNames(arg1, m_nodeCount, modelRecord()->ndm, m_columns);
    comboBox_3->clear();
    for (const QString& attribute : attributeChoices(m_names, m_nodeCount))
        comboBox_3->addItem(attributeCaption(attribute), attribute);
}

void zor_result_read_panel::on_comboBox_3_currentIndexChanged(int)
{
    buttonBox->button(QDialogButtonBox::Ok)->setEnabled(m_columns != 0);
    fillComponents();
}

void zor_result_read_panel::fillComponents()
{
    const QVector<ComponentName>& components = attributeComponents(m_names, comboBox_3->currentData().toString());
    const QSignalBlocker quiet(componentBox);
    componentBox->clear();
    for (const ComponentName& c : components)
        componentBox->addItem(c.label, c.name);
    spinBox->setRange(1, std::max(1, int(components.size())));
    spinBox->setValue(1);
}

void zor_result_read_panel::on_valueBox_currentIndexChanged(int index)
{
    shapeBox->setEnabled(index > 0);
}

void zor_result_read_panel::on_buttonBox_clicked(QAbstractButton* button)
{
    if (button != buttonBox->button(QDialogButtonBox::Ok))
        return;
    emit outputReadSignal({comboBox->currentText(), comboBox_2->currentText(),
                           comboBox_3->currentData().toString(), QString::number(m_columns), spinBox->text(),
                           contourValueWords().value(valueBox->currentIndex()),
                           shapeBox->currentIndex() == 1 ? QStringLiteral("undeformed") : QStringLiteral("last")});
}
