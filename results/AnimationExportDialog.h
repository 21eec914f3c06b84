// AnimationExportDialog: the frame rate and frame size of an animation export, with the range
// the Animation window's fields give.
//
//   AnimationExportDialog options(window);
//   options.setRange(1, 200, 1);
//   if (dialogs.exec(&options) == QDialog::Accepted) export(options.fps(), options.frameSize());
#pragma once

#include <QDialog>
#include <QSize>

class QLabel;
class QSpinBox;

class AnimationExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit AnimationExportDialog(QWidget* parent = nullptr);

    void setRange(int start, int end, int interval);
    int fps() const;
    QSize frameSize() const;

    QSpinBox* fpsBox = nullptr;
    QSpinBox* widthBox = nullptr;
    QSpinBox* heightBox = nullptr;
    QLabel* rangeLabel = nullptr;
};
