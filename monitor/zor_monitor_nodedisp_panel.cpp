#include "zor_monitor_nodedisp_panel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

zor_monitor_nodedisp_panel::zor_monitor_nodedisp_panel(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("zor_monitor_nodedisp_panel"));
    setWindowTitle(QStringLiteral("Select Node"));
    resize(228, 144);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(QFont(QStringLiteral("Microsoft YaHei UI")));

    auto* layout = new QVBoxLayout(this);
    auto* nodeRow = new QHBoxLayout;
    label = new QLabel(QStringLiteral("Node Tag:"), this);
    label->setObjectName(QStringLiteral("label"));
    comboBox = new QComboBox(this);
    comboBox->setObjectName(QStringLiteral("comboBox"));
    nodeRow->addWidget(label);
    nodeRow->addWidget(comboBox, 1);
    layout->addLayout(nodeRow);

    groupBox = new QGroupBox(QStringLiteral("DOF"), this);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    auto* dofRow = new QHBoxLayout(groupBox);
    radioButton = new QRadioButton(QStringLiteral("DoF: 1"), groupBox);
    radioButton->setObjectName(QStringLiteral("radioButton"));
    radioButton->setChecked(true);
    radioButton_2 = new QRadioButton(QStringLiteral("DoF: 2"), groupBox);
    radioButton_2->setObjectName(QStringLiteral("radioButton_2"));
    radioButton_3 = new QRadioButton(QStringLiteral("DOF: 3"), groupBox);
    radioButton_3->setObjectName(QStringLiteral("radioButton_3"));
    dofRow->addWidget(radioButton);
    dofRow->addWidget(radioButton_2);
    dofRow->addWidget(radioButton_3);
    layout->addWidget(groupBox);

    auto* buttonRow = new QHBoxLayout;
    pushButton = new QPushButton(QStringLiteral("Plot"), this);
    pushButton->setObjectName(QStringLiteral("pushButton"));
    pushButton_2 = new QPushButton(QStringLiteral("Close"), this);
    pushButton_2->setObjectName(QStringLiteral("pushButton_2"));
    buttonRow->addWidget(pushButton);
    buttonRow->addWidget(pushButton_2);
    layout->addLayout(buttonRow);

    QMetaObject::connectSlotsByName(this);
}

void zor_monitor_nodedisp_panel::setNodeTags(const QVector<int>& tags)
{
    QVector<int> sorted = tags;
    std::sort(sorted.begin(), sorted.end());
    comboBox->clear();
    for (int tag : sorted)
        comboBox->addItem(QString::number(tag));
}

void zor_monitor_nodedisp_panel::on_pushButton_clicked()
{
    if (comboBox->currentIndex() < 0)
        return;  // a model without nodes: there is no tag to send
    const int dof = radioButton_3->isChecked() ? 3 : radioButton_2->isChecked() ? 2 : 1;
    emit plotNodeDispSignal(comboBox->currentText().toInt(), dof);
}

void zor_monitor_nodedisp_panel::on_pushButton_2_clicked()
{
    close();
}
