// zor_output_panel: the recorder dialog shown before every run. Lists the element types of the
// model that can record something, with their responses, and whether to stream the live view.
// OK emits the chosen settings (type, then responses) and the live scale (0: no live view).
//
//   auto* panel = new zor_output_panel(window);
//   connect(panel, &zor_output_panel::outputSettingSignal, window, &Tolvane::outputSettingSlot);
//   panel->refreshOutputTree(); panel->exec();
#pragma once

#include <QDialog>
#include <QStringList>
#include <QVector>

class QAbstractButton;
class QCheckBox;
class QDialogButtonBox;
class QFrame;
class QGroupBox;
class QLabel;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

class zor_output_panel : public QDialog {
    Q_OBJECT
public:
    explicit zor_output_panel(QWidget* parent = nullptr);

    void refreshOutputTree();
    // Checks the responses of SETTINGS (the last run's, from its run record) that the tree offers.
    void checkSettings(const QVector<QStringList>& settings);

    QTreeWidget* treeWidget = nullptr;
    QFrame* line = nullptr;
    QGroupBox* groupBox = nullptr;
    QCheckBox* checkBox = nullptr;
    QLabel* label = nullptr;
    QSpinBox* spinBox = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

signals:
    void outputSettingSignal(QVector<QStringList> settings, int monitorScale);

private slots:
    void on_treeWidget_itemChanged(QTreeWidgetItem* item, int column);
    void on_buttonBox_clicked(QAbstractButton* button);
    void on_checkBox_clicked();

private:
    QStringList m_tableLines;
    QVector<QStringList> m_result;
};

// The settings the dialog would give for these checked (type, response) pairs: types in table
// order, responses in table order, pairs the table does not list left out.
QVector<QStringList> settingsInTableOrder(const QVector<QStringList>& chosen);
