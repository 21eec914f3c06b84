// DiagramPanel: the "Diagrams" window. Chooses the force component, the drawing scale (empty for
// automatic) and the side moments are drawn on; states the sign convention and the step shown. It
// draws nothing: every change is announced by settingsChanged.
//
//   auto* panel = new DiagramPanel(window);
//   panel->setComponents(forceComponents(modelRecord()->ndm));
//   connect(panel, &DiagramPanel::settingsChanged, window, redraw);
#pragma once

#include <QVector>
#include <QWidget>

#include "MemberDiagram.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class DiagramPanel : public QWidget {
    Q_OBJECT
public:
    explicit DiagramPanel(QWidget* parent = nullptr);

    void setComponents(const QVector<ForceComponent>& components);
    ForceComponent component() const;
    // The drawn length of a unit value; 0 when the box is empty (automatic) or unreadable.
    double scale() const;
    // The automatic scale, shown in the empty box.
    void setAutomaticScale(double scale);
    // Moments on the side they compress instead of the side they stretch.
    bool compressionSide() const;
    // The step shown, or why nothing is.
    void setStatus(const QString& text);
    QString status() const;

    QComboBox* componentBox = nullptr;
    QLineEdit* scaleEdit = nullptr;
    QCheckBox* sideBox = nullptr;
    QLabel* convention = nullptr;
    QLabel* statusLabel = nullptr;

signals:
    void settingsChanged();
};
