// The options dialog: edits every key of the settings file and creates the file
// with its defaults when it is missing. OK and Apply write the whole file.
//
//   auto* panel = new zor_options_panel(SettingsStore::settingsFilePath(), this);
//   connect(panel, &zor_options_panel::configChanged, this, &Tolvane::refresh);
//   panel->exec();
#pragma once

#include <QDialog>
#include <QFrame>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// A box that shows one colour through its palette.
class SwatchFrame : public QFrame {
    Q_OBJECT
public:
    explicit SwatchFrame(QWidget* parent = nullptr);
    void setColor(const QColor& color);
    QColor color() const;
};

class zor_options_panel : public QDialog {
    Q_OBJECT
public:
    zor_options_panel(const QString& configPath, QWidget* parent = nullptr);

    void loadSettings();
    bool saveSettings();
    bool writeDefaultSettings();
    QString configPath() const { return m_configPath; }

    // Seams for tests: the colour and file dialogs, and the warning box.
    static std::function<QColor(QWidget* parent)> colorProvider;
    static std::function<QString(QWidget* parent, const QString& caption, const QString& dir,
                                 const QString& filter)>
        openFileNameProvider;
    static std::function<void(QWidget* parent, const QString& title, const QString& text)> warningProvider;

    // The Browse filter: executables carry no extension off Windows.
    static QString solverFileFilter();

signals:
    void configChanged();

public slots:
    void updateSizes(int index);

private slots:
    void on_pushButton_clicked();
    void on_buttonBox_clicked(QAbstractButton* button);
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_5_clicked();
    void on_pushButton_6_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_8_clicked();
    void on_pushButton_10_clicked();
    void on_pushButton_11_clicked();
    void on_pushButton_12_clicked();
    void on_pushButton_9_clicked();
    void on_pushButton_13_clicked();
    void on_pushButton_14_clicked();
    void on_pushButton_15_clicked();

private:
    void buildForm();
    QWidget* buildEnvironmentTab();
    QWidget* buildDisplayTab();
    void pickColor(SwatchFrame* swatch);
    void reportUnwritable();

    QString m_configPath;
    QTabWidget* tabWidget = nullptr;
    QLineEdit* lineEdit = nullptr;
    QCheckBox* trustScripts = nullptr;
    QDialogButtonBox* buttonBox = nullptr;
    QVector<SwatchFrame*> modelSwatches;     // in MODELCOLOR key order
    QVector<SwatchFrame*> labelSwatches;     // in LABELCOLOR key order
    QVector<QComboBox*> transparencyCombos;  // in MODELTRANSPARENCY key order
    QVector<QComboBox*> sizeCombos;          // PointSize, LineWidth, LabelSize
};
