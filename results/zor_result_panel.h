// zor_result_panel: the "Animation" window of loaded results. A slider picks the step, a field
// the deformation scale, and Play runs the steps from start to end in a loop until Stop. It
// draws nothing itself: every step or scale change is announced by sliderChangedSignal, and
// Export Animation asks the main window to write the range as a video.
//
//   auto* panel = new zor_result_panel(window);
//   connect(panel, &zor_result_panel::sliderChangedSignal, window, &Tolvane::sliderChangedSlot);
//   panel->setStepCount(dispLines.size()); panel->show();
#pragma once

#include <QMainWindow>
#include <QString>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QStatusBar;

class zor_result_panel : public QMainWindow {
    Q_OBJECT
public:
    explicit zor_result_panel(QWidget* parent = nullptr);

    // Sets the defaults for this many steps and shows step 1.
    void setStepCount(int count);
    bool isPlaying() const { return m_playing; }

    // Shows the critical message box; tests replace it so that no modal box opens.
    static std::function<void(QWidget* parent, const QString& title, const QString& text)> criticalBox;

    QWidget* centralwidget = nullptr;
    QStatusBar* statusBar = nullptr;
    QGroupBox* groupBox = nullptr;
    QSlider* horizontalSlider = nullptr;
    QLabel* label_5 = nullptr;
    QLineEdit* lineEdit_5 = nullptr;
    QLabel* label = nullptr;
    QLineEdit* lineEdit = nullptr;
    QLabel* label_3 = nullptr;
    QLineEdit* lineEdit_3 = nullptr;
    QLabel* label_2 = nullptr;
    QLineEdit* lineEdit_2 = nullptr;
    QLabel* label_4 = nullptr;
    QLineEdit* lineEdit_4 = nullptr;
    QPushButton* pushButton = nullptr;
    QPushButton* pushButton_2 = nullptr;
    QPushButton* pushButton_3 = nullptr;  // Export Animation

signals:
    void sliderChangedSignal(int value, double sFactor);
    // Export Animation with the range and scale of the fields.
    void exportAnimationSignal(int start, int end, int interval, double sFactor);

private slots:
    void on_horizontalSlider_valueChanged(int value);
    void on_lineEdit_5_textChanged(const QString& arg1);
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void setControlsEnabled(bool on);
    void stepBy(int delta);

    bool m_playing = false;
    bool m_inPlay = false;           // Play's loop is on the stack
    bool m_deleteAfterPlay = false;  // closed while Play was waiting
};

// Play's reading of its fields: start at least 1, end at most the last step, interval at
// least 1, wait in whole milliseconds from at least 1e-9 s. valid is false when end < start.
struct PlayRange {
    int start = 1;
    int end = 1;
    int interval = 1;
    int waitMs = 0;
    bool valid = false;
};
PlayRange playRange(const QString& start, const QString& end, const QString& interval, const QString& seconds,
                    int lastStep);
