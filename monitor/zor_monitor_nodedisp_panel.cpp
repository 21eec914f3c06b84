#include "zor_monitor_nodedisp_panel.h"

#include <QButtonGroup>
#include <QCompleter>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

zor_monitor_nodedisp_panel::zor_monitor_nodedisp_panel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_monitor_nodedisp_panel"));
    setWindowTitle(QStringLiteral("Select Node"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Microsoft YaHei UI")));

    auto* layout = new QVBoxLayout(this);
    auto* nodeRow = new QHBoxLayout;
    label = new QLabel(QStringLiteral("Node Tag:"), this);
    label->setObjectName(QStringLiteral("label"));
    lineEdit = new QLineEdit(this);
    lineEdit->setObjectName(QStringLiteral("lineEdit"));
    lineEdit->setPlaceholderText(QStringLiteral("type a tag or click a node"));
    lineEdit->setValidator(new QIntValidator(lineEdit));
    auto* completer = new QCompleter(new QStringListModel(this), this);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    lineEdit->setCompleter(completer);
    nodeRow->addWidget(label);
    nodeRow->addWidget(lineEdit, 1);
    layout->addLayout(nodeRow);

    groupBox = new QGroupBox(QStringLiteral("DOF"), this);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    auto* dofRow = new QHBoxLayout(groupBox);
    m_dofs = new QButtonGroup(this);
    for (int dof = 1; dof <= 6; ++dof) {
        auto* button = new QRadioButton(QStringLiteral("DoF: %1").arg(dof), groupBox);
        button->setObjectName(dof == 1 ? QStringLiteral("radioButton")
                                       : QStringLiteral("radioButton_%1").arg(dof));
        m_dofs->addButton(button, dof);
        dofRow->addWidget(button);
        dofButtons[dof - 1] = button;
    }
    dofButtons[0]->setChecked(true);
    layout->addWidget(groupBox);

    auto* axisBox = new QGroupBox(QStringLiteral("X Axis"), this);
    auto* axisRow = new QHBoxLayout(axisBox);
    timeButton = new QRadioButton(QStringLiteral("Time"), axisBox);
    timeButton->setObjectName(QStringLiteral("timeButton"));
    timeButton->setChecked(true);
    stepButton = new QRadioButton(QStringLiteral("Step"), axisBox);
    stepButton->setObjectName(QStringLiteral("stepButton"));
    axisRow->addWidget(timeButton);
    axisRow->addWidget(stepButton);
    axisRow->addStretch();
    layout->addWidget(axisBox);

    hint = new QLabel(this);
    hint->setObjectName(QStringLiteral("hint"));
    layout->addWidget(hint);

    auto* buttonRow = new QHBoxLayout;
    pushButton = new QPushButton(QStringLiteral("Plot"), this);
    pushButton->setObjectName(QStringLiteral("pushButton"));
    pushButton->setDefault(true);
    pushButton_2 = new QPushButton(QStringLiteral("Close"), this);
    pushButton_2->setObjectName(QStringLiteral("pushButton_2"));
    buttonRow->addWidget(pushButton);
    buttonRow->addWidget(pushButton_2);
    layout->addLayout(buttonRow);
    setDofCount(3);

    QMetaObject::connectSlotsByName(this);
}

void zor_monitor_nodedisp_panel::setNodeTags(const QVector<int>& tags)
{
    m_tags = tags;
    std::sort(m_tags.begin(), m_tags.end());
    QStringList texts;
    texts.reserve(m_tags.size());
    for (int tag : m_tags)
        texts << QString::number(tag);
    static_cast<QStringListModel*>(lineEdit->completer()->model())->setStringList(texts);
}

void zor_monitor_nodedisp_panel::setDofCount(int count)
{
    count = std::clamp(count, 1, 6);
    for (int dof = 1; dof <= 6; ++dof)
        dofButtons[dof - 1]->setVisible(dof <= count);
    if (m_dofs->checkedId() > count)
        dofButtons[0]->setChecked(true);
}

void zor_monitor_nodedisp_panel::setNodeTag(int tag)
{
    lineEdit->setText(QString::number(tag));
    hint->clear();
}

void zor_monitor_nodedisp_panel::on_pushButton_clicked()
{
    bool ok = false;
    const int tag = lineEdit->text().toInt(&ok);
    if (!ok || !std::binary_search(m_tags.cbegin(), m_tags.cend(), tag)) {
        hint->setText(ok ? QStringLiteral("Node %1 is not in the model.").arg(tag)
                         : QStringLiteral("Type a node tag or click a node in the view."));
        return;
    }
    emit plotNodeDispSignal(tag, m_dofs->checkedId(), stepButton->isChecked());
    close();
}

void zor_monitor_nodedisp_panel::on_pushButton_2_clicked()
{
    close();
}
