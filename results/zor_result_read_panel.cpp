#include "zor_result_read_panel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "ModelRecord.h"
#include "ResultFile.h"
#include "ResultParsing.h"
#include "RunRecord.h"

namespace {

const QString kPoint = QStringLiteral("Point Attribute");
const QString kElement = QStringLiteral("Element Attribute");

bool splitsOverNodes(int columns, int nodeCount)
{
    return nodeCount > 0 && columns > 0 && columns % nodeCount == 0;
}

}  // namespace

int sampleColumns(const QString& sampleLine)
{
    return sampleLine.split(QLatin1Char(' ')).size() - 1;
}

QStringList attributeChoices(int columns, int nodeCount)
{
    if (splitsOverNodes(columns, nodeCount))
        return {kPoint, kElement};
    return {kElement};
}

int attributeSpinMaximum(int columns, int nodeCount, bool pointAttribute)
{
    return pointAttribute && splitsOverNodes(columns, nodeCount) ? columns / nodeCount : columns;
}

zor_result_read_panel::zor_result_read_panel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_result_read_panel"));
    setWindowTitle(QStringLiteral("Select Result"));
    resize(254, 168);
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
    row(0, label, "label", QStringLiteral("Element Type:"), comboBox, "comboBox");
    row(1, label_2, "label_2", QStringLiteral("Output Object:"), comboBox_2, "comboBox_2");
    row(2, label_3, "label_3", QStringLiteral("Attr Setting:"), comboBox_3, "comboBox_3");
    row(3, label_4, "label_4", QStringLiteral("Attr Position:"), spinBox, "spinBox");
    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    grid->addWidget(buttonBox, 4, 0, 1, 2);

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
    comboBox_3->clear();
    comboBox_3->addItems(attributeChoices(m_columns, m_nodeCount));
}

void zor_result_read_panel::on_comboBox_3_currentIndexChanged(int index)
{
    buttonBox->button(QDialogButtonBox::Ok)->setEnabled(m_columns != 0);
    const bool point = index == 0 && comboBox_3->itemText(0) == kPoint;
    spinBox->setRange(1, attributeSpinMaximum(m_columns, m_nodeCount, point));
}

void zor_result_read_panel::on_buttonBox_clicked(QAbstractButton* button)
{
    if (button != buttonBox->button(QDialogButtonBox::Ok))
        return;
    emit outputReadSignal({comboBox->currentText(), comboBox_2->currentText(), comboBox_3->currentText(),
                           QString::number(m_columns), spinBox->text()});
}
