// zor_result_read_panel: the "Select Result" dialog. Offers the element responses of the last
// run (from the run record), where to show the chosen one (per element or per element node)
// and which value of the element's block; OK emits the five texts the result loader takes.
//
//   auto* dialog = new zor_result_read_panel(window);
//   connect(dialog, &zor_result_read_panel::outputReadSignal, window, &Tolvane::outputReadSlot);
//   dialog->loadRunRecord(); dialog->exec();
#pragma once

#include <QDialog>
#include <QDir>
#include <QStringList>
#include <QVector>

class QAbstractButton;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

class zor_result_read_panel : public QDialog {
    Q_OBJECT
public:
    explicit zor_result_read_panel(QWidget* parent = nullptr);

    // Fills the dialog from "OutputSetting" in the directory (the script's, which is the
    // current directory once a script was read); the sample files are read from the same folder.
    void loadRunRecord(const QString& directory = QDir::currentPath());
    int columnsPerElement() const { return m_columns; }

    QLabel* label = nullptr;
    QComboBox* comboBox = nullptr;
    QLabel* label_2 = nullptr;
    QComboBox* comboBox_2 = nullptr;
    QLabel* label_3 = nullptr;
    QComboBox* comboBox_3 = nullptr;
    QLabel* label_4 = nullptr;
    QSpinBox* spinBox = nullptr;
    QDialogButtonBox* buttonBox = nullptr;

signals:
    void outputReadSignal(QStringList selection);

private slots:
    void on_comboBox_currentIndexChanged(int index);
    void on_comboBox_2_currentIndexChanged(const QString& arg1);
    void on_comboBox_3_currentIndexChanged(int index);
    void on_buttonBox_clicked(QAbstractButton* button);

private:
    QVector<QStringList> m_settings;
    QString m_resultBase;
    int m_columns = 0;
    int m_nodeCount = 0;  // of the chosen type in the model; 0 when the type is not there
};

// Values one element writes per step, from the first line of a sample file (time first).
int sampleColumns(const QString& sampleLine);
// "Point Attribute" (when the values split evenly over the element's nodeCount nodes) and
// "Element Attribute"; only the latter when nodeCount is 0 (the type left the model).
QStringList attributeChoices(int columns, int nodeCount);
// The largest first column the spin box offers for this choice.
int attributeSpinMaximum(int columns, int nodeCount, bool pointAttribute);
