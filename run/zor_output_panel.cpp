#include "zor_output_panel.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTreeWidget>

#include "ElementResponseTable.h"
#include "ModelRecord.h"

namespace {

const Qt::ItemFlags kItemFlags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;

QFont formFont()
{
    QFont font(QStringLiteral("Microsoft YaHei UI"));
    font.setBold(false);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

zor_output_panel::zor_output_panel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_output_panel"));
    setWindowTitle(QStringLiteral("Output"));
    resize(357, 330);
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* grid = new QGridLayout(this);
    treeWidget = new QTreeWidget(this);
    treeWidget->setObjectName(QStringLiteral("treeWidget"));
    treeWidget->setColumnCount(1);
    treeWidget->setHeaderLabel(QStringLiteral("Output Name"));
    grid->addWidget(treeWidget, 0, 0);

    line = new QFrame(this);
    line->setObjectName(QStringLiteral("line"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, 1, 0);

    groupBox = new QGroupBox(QStringLiteral("RealTime Monitor"), this);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setFont(formFont());
    auto* boxGrid = new QGridLayout(groupBox);
    checkBox = new QCheckBox(QStringLiteral("Disable"), groupBox);
    checkBox->setObjectName(QStringLiteral("checkBox"));
    boxGrid->addWidget(checkBox, 0, 0);
    auto* scaleRow = new QHBoxLayout;
    label = new QLabel(QStringLiteral("Scale Factor:"), groupBox);
    label->setObjectName(QStringLiteral("label"));
    label->setFont(formFont());
    spinBox = new QSpinBox(groupBox);
    spinBox->setObjectName(QStringLiteral("spinBox"));
    spinBox->setFont(formFont());
    spinBox->setMinimum(1);
    spinBox->setValue(10);
    spinBox->setEnabled(false);
    scaleRow->addWidget(label);
    scaleRow->addWidget(spinBox);
    boxGrid->addLayout(scaleRow, 0, 1);
    grid->addWidget(groupBox, 2, 0);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setFont(formFont());
    grid->addWidget(buttonBox, 3, 0);

    // Empty lines are kept; they add nothing to the tree.
    m_tableLines = QString::fromLatin1(elementResponseTable()).split(QLatin1Char('\n'));
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    QMetaObject::connectSlotsByName(this);
}

void zor_output_panel::refreshOutputTree()
{
    const QVector<QString>& types = modelRecord()->elementTypes;
    const QSet<QString> present(types.begin(), types.end());
    const QSignalBlocker quiet(treeWidget);
    treeWidget->clear();
    treeWidget->setColumnCount(1);
    treeWidget->setHeaderLabel(QStringLiteral("Output Name"));
    for (const QString& row : m_tableLines) {
        const QStringList words = row.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2 || !present.contains(words.first()))
            continue;
        auto* typeItem = new QTreeWidgetItem(treeWidget, QStringList(words.first()));
        typeItem->setFlags(kItemFlags);
        typeItem->setCheckState(0, Qt::Unchecked);
        for (int i = 1; i < words.size(); ++i) {
            auto* response = new QTreeWidgetItem(typeItem, QStringList(words[i]));
            response->setFlags(kItemFlags);
            response->setCheckState(0, Qt::Unchecked);
        }
    }
}

void zor_output_panel::checkSettings(const QVector<QStringList>& settings)
{
    for (const QStringList& setting : settings) {
        const QList<QTreeWidgetItem*> types = treeWidget->findItems(setting.value(0), Qt::MatchExactly);
        if (types.isEmpty())
            continue;
        for (int c = 0; c < types.first()->childCount(); ++c) {
            QTreeWidgetItem* response = types.first()->child(c);
            if (setting.mid(1).contains(response->text(0)))
                response->setCheckState(0, Qt::Checked);
        }
    }
}

void zor_output_panel::on_treeWidget_itemChanged(QTreeWidgetItem* item, int)
{
    const Qt::CheckState state = item->checkState(0);
    if (item->childCount() > 0) {
        if (state == Qt::PartiallyChecked)
            return;
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setCheckState(0, state);
        return;
    }
    QTreeWidgetItem* parent = item->parent();
    if (!parent)
        return;
    int checked = 0;
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->checkState(0) == Qt::Checked)
            ++checked;
    const Qt::CheckState parentState = checked == 0                      ? Qt::Unchecked
                                       : checked == parent->childCount() ? Qt::Checked
                                                                         : Qt::PartiallyChecked;
    // Setting the parent to checked or unchecked would set every child again: only the state
    // it shows changes here.
    const QSignalBlocker quiet(treeWidget);
    parent->setCheckState(0, parentState);
}

void zor_output_panel::on_buttonBox_clicked(QAbstractButton* button)
{
    if (button != buttonBox->button(QDialogButtonBox::Ok))
        return;
    m_result.clear();
    for (int i = 0; i < treeWidget->topLevelItemCount(); ++i) {
        QTreeWidgetItem* type = treeWidget->topLevelItem(i);
        if (type->checkState(0) == Qt::Unchecked)
            continue;
        QStringList setting(type->text(0));
        for (int c = 0; c < type->childCount(); ++c)
            if (type->child(c)->checkState(0) == Qt::Checked)
                setting << type->child(c)->text(0);
        m_result.append(setting);
    }
    const int monitorScale = checkBox->isChecked() ? spinBox->text().toInt() : 0;
    emit outputSettingSignal(m_result, monitorScale);
}

void zor_output_panel::on_checkBox_clicked()
{
    const bool on = checkBox->isChecked();
    checkBox->setText(on ? QStringLiteral("Enable") : QStringLiteral("Disable"));
    spinBox->setEnabled(on);
}

QVector<QStringList> settingsInTableOrder(const QVector<QStringList>& chosen)
{
    QVector<QStringList> result;
    for (const QString& row : elementResponseTableLines()) {
        const QStringList words = row.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2)
            continue;
        QStringList setting(words.first());
        for (int i = 1; i < words.size(); ++i)
            for (const QStringList& pair : chosen)
                if (pair.size() == 2 && pair[0] == words.first() && pair[1] == words[i]) {
                    setting << words[i];
                    break;
                }
        if (setting.size() > 1)
            result.append(setting);
    }
    return result;
}
