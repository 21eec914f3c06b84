// ModesPanel: the "Modes" window. Offers the eigen calls of the last run, lists the modes of the
// chosen one (eigenvalue, circular frequency, frequency, period, mass ratios), holds the drawing
// scale (empty for automatic: the largest translation at a tenth of the model's extent) and plays
// the chosen mode as a sine in time. It draws nothing: shapeRequested asks for the chosen mode at
// an amplitude, which is the scale times the sine while playing, 0 for a mode that does not
// oscillate.
//
//   auto* panel = new ModesPanel(window);
//   panel->setModelExtent(modelExtent(*modelRecord()));
//   panel->setCalls(readRecordedModes(dir + "/TolvaneResult"));
//   connect(panel, &ModesPanel::shapeRequested, window, draw);  // currentCall(), currentMode()
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QVector>
#include <QWidget>

#include "Modes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class ModesPanel : public QWidget {
    Q_OBJECT
public:
    explicit ModesPanel(QWidget* parent = nullptr);

    // The calls to offer; the last one is chosen, with its first mode.
    void setCalls(const QVector<EigenCall>& calls);
    void setModelExtent(double extent);
    // Null when there is no call to show.
    const EigenCall* currentCall() const;
    // 0-based; -1 when no mode is chosen.
    int currentMode() const;
    // The typed scale, or the automatic one when the box is empty or unreadable.
    double scale() const;
    double automaticScale() const;
    bool playing() const { return m_timer.isActive(); }
    void setStatus(const QString& text);
    QString status() const;

    // One turn of the sine while playing, whatever the mode's own period.
    static constexpr int cycleMs = 1600;

    QComboBox* callBox = nullptr;
    QTableWidget* table = nullptr;
    QLineEdit* scaleEdit = nullptr;
    QPushButton* playButton = nullptr;
    QPushButton* stopButton = nullptr;
    QLabel* statusLabel = nullptr;

public slots:
    void play();
    void stop();

signals:
    void shapeRequested(double amplitude);

private:
    void fillTable();
    void modeChosen();
    void tick();
    void request(double sine);

    QVector<EigenCall> m_calls;
    double m_extent = 0.0;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
