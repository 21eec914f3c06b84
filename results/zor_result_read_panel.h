// zor_result_read_panel: the "Select Result" dialog. Offers the element responses of the last
// run (from the run record), where to show the chosen one (per element, per element node, or
// averaged at the nodes), which component of the element's block by name, and whether to show the
// step's values or their envelope over all steps; OK emits the texts the result loader takes.
//
//   auto* dialog = new zor_result_read_panel(window);
//   connect(dialog, &zor_result_read_panel::outputReadSignal, window, &Tolvane::outputReadSlot);
//   dialog->loadRunRecord(); dialog->exec();
#pragma once

#include <QDialog>
#include <QDir>
#include <QStringList>
#include <QVector>

#include "ComponentNames.h"

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
    // The component by name; the (hidden) spin box holds its column.
    QComboBox* componentBox = nullptr;
    QSpinBox* spinBox = nullptr;
    QLabel* valueLabel = nullptr;
    QComboBox* valueBox = nullptr;  // the step's values, or an envelope over all steps
    QLabel* shapeLabel = nullptr;
    QComboBox* shapeBox = nullptr;  // what an envelope is drawn on: the last step or the model
    QDialogButtonBox* buttonBox = nullptr;

    // The attribute position texts the loader takes, whatever the choice shows.
    static QString pointText() { return QStringLiteral("Point Attribute"); }
    static QString elementText() { return QStringLiteral("Element Attribute"); }

signals:
    // Element type, response, attribute position, columns per element, first column, then the
    // value shown ("step", "max", "min", "absmax") and an envelope's shape ("last", "undeformed").
    void outputReadSignal(QStringList selection);

private slots:
    void on_comboBox_currentIndexChanged(int index);
    void on_comboBox_2_currentIndexChanged(const QString& arg1);
    void on_comboBox_3_currentIndexChanged(int index);
    void on_buttonBox_clicked(QAbstractButton* button);
    void on_valueBox_currentIndexChanged(int index);

private:
    void fillComponents();

    QVector<QStringList> m_settings;
    QString m_resultBase;
    int m_columns = 0;
    int m_nodeCount = 0;  // of the chosen type in the model; 0 when the type is not there
    ComponentNames m_names;
};

// Values one element writes per step, from the first line of a sample file (time first).
int sampleColumns(const QString& sampleLine);
// The attribute position texts offered: "Point Attribute" where the block holds a share per
// element node, "Element Attribute", and the node-averaged text while the type is in the model.
QStringList attributeChoices(const ComponentNames& names, int nodeCount);
// The components one may pick for an attribute position text.
const QVector<ComponentName>& attributeComponents(const ComponentNames& names, const QString& attribute);
// The words of the value choice, in the order of the value box.
QStringList contourValueWords();
