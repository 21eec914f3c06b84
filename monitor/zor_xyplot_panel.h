// zor_xyplot_panel: the quantity choice on top of an "XY Plot" window: X and Y each one of the
// quantities of PlotSources.h (a node's displacement or reaction, a sum of reactions, an element
// value, a drift, time, step) and Plot, which draws Y against X in the window below it.
//
//   auto* window = new zor_monitor_panel(700, 500, this);
//   window->addControls(new zor_xyplot_panel([this] { return resultTables(); }, window));
//   connect(this, &Tolvane::resultStepShown, window, &zor_monitor_panel::showStep);
#pragma once

#include <QWidget>
#include <functional>

#include "PlotSources.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class zor_monitor_panel;

// One axis of the choice: the kind, and the fields that kind needs (the others are hidden).
class QuantityRow : public QWidget {
    Q_OBJECT
public:
    QuantityRow(const QString& axis, const ResultTables& tables, QWidget* parent = nullptr);

    void setKind(Quantity::Kind kind);
    // What the fields say; false with a reason when they do not name a quantity of TABLES.
    bool quantity(const ResultTables& tables, Quantity* q, QString* error) const;

    QComboBox* kind = nullptr;
    QLineEdit* node = nullptr;       // the node; the upper node of a drift
    QLineEdit* lowerNode = nullptr;  // drift
    QLineEdit* nodeSet = nullptr;    // sum of reactions
    QLineEdit* element = nullptr;
    QSpinBox* dof = nullptr;
    QSpinBox* column = nullptr;        // value K of the element's block
    QDoubleSpinBox* height = nullptr;  // drift; 0 for the plain difference

private:
    void showFields();
};

class zor_xyplot_panel : public QWidget {
    Q_OBJECT
public:
    // TABLES gives the results as they are at each Plot.
    zor_xyplot_panel(std::function<ResultTables()> tables, zor_monitor_panel* window);

    QuantityRow* xRow = nullptr;
    QuantityRow* yRow = nullptr;
    QPushButton* plotButton = nullptr;
    QLabel* message = nullptr;

public slots:
    // Draws Y against X, or says in the message line why it cannot.
    void plot();

private:
    std::function<ResultTables()> m_tables;
    zor_monitor_panel* m_window;
};
