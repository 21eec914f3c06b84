// zor_monitor_nodedisp_panel: asks which node, DOF and x-axis a node plot shows. The tag is typed
// (with completion from the model's tags) or taken from a node picked in the 3-D view; the window
// is not modal, so the view takes clicks while it is open, and it closes on Plot. The receiving
// slot decides the result kind.
//
//   auto* chooser = new zor_monitor_nodedisp_panel(this);
//   connect(chooser, &zor_monitor_nodedisp_panel::plotNodeDispSignal, this, &Tolvane::plotNodeDispSlot);
//   chooser->setNodeTags(modelRecord()->nodeTags); chooser->setDofCount(6); chooser->show();
#pragma once

#include <QDialog>
#include <QVector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class zor_monitor_nodedisp_panel : public QDialog {
    Q_OBJECT
public:
    explicit zor_monitor_nodedisp_panel(QWidget* parent = nullptr);

    // The tags that may be plotted; completion offers them ascending.
    void setNodeTags(const QVector<int>& tags);
    // Offers DOF 1 to COUNT (1 to 6).
    void setDofCount(int count);
    // A node picked in the 3-D view.
    void setNodeTag(int tag);

    QLabel* label = nullptr;
    QLineEdit* lineEdit = nullptr;  // the node tag
    QGroupBox* groupBox = nullptr;
    QRadioButton* dofButtons[6] = {};
    QRadioButton* timeButton = nullptr;
    QRadioButton* stepButton = nullptr;
    QLabel* hint = nullptr;
    QPushButton* pushButton = nullptr;
    QPushButton* pushButton_2 = nullptr;

signals:
    // OVERSTEPS: the x-axis is the step, else the time.
    void plotNodeDispSignal(int nodeTag, int dof, bool overSteps);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    QVector<int> m_tags;  // ascending
    QButtonGroup* m_dofs = nullptr;
};
