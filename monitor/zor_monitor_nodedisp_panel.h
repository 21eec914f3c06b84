// zor_monitor_nodedisp_panel: asks which node and DOF a node monitor plots. It stays open after
// Plot, so several monitors can be opened from it; the receiving slot decides the result kind.
//
//   auto* chooser = new zor_monitor_nodedisp_panel(this);
//   connect(chooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal, this, &Tolvane::plotNodeDispSlot);
//   chooser->setNodeTags(modelRecord()->nodeTags); chooser->show();
#pragma once

#include <QDialog>
#include <QVector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class zor_monitor_nodedisp_panel : public QDialog {
    Q_OBJECT
public:
    explicit zor_monitor_nodedisp_panel(QWidget* parent = nullptr);

    // Lists TAGS ascending.
    void setNodeTags(const QVector<int>& tags);

    QLabel* label = nullptr;
    QComboBox* comboBox = nullptr;
    QGroupBox* groupBox = nullptr;
    QRadioButton* radioButton = nullptr;
    QRadioButton* radioButton_2 = nullptr;
    QRadioButton* radioButton_3 = nullptr;
    QPushButton* pushButton = nullptr;
    QPushButton* pushButton_2 = nullptr;

signals:
    void plotNodeDispSignal(int nodeTag, int dof);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
};
