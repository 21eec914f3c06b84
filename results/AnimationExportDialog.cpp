#include "AnimationExportDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

namespace {

QSpinBox* spinBox(QWidget* parent, const char* name, int low, int high, int value, const QString& suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(value);
    box->setSuffix(suffix);
    return box;
}

}  // namespace

AnimationExportDialog::AnimationExportDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AnimationExportDialog"));
    setWindowTitle(QStringLiteral("Export Animation"));
    setFont(QFont(QStringLiteral("Microsoft YaHei UI")));
    auto* form = new QFormLayout(this);
    rangeLabel = new QLabel(this);
    fpsBox = spinBox(this, "fpsBox", 1, 100, 25, QStringLiteral(" frames/s"));
    widthBox = spinBox(this, "widthBox", 16, 4096, 1280, QStringLiteral(" px"));
    heightBox = spinBox(this, "heightBox", 16, 4096, 720, QStringLiteral(" px"));
    form->addRow(QStringLiteral("Steps:"), rangeLabel);
    form->addRow(QStringLiteral("Frame rate:"), fpsBox);
    form->addRow(QStringLiteral("Width:"), widthBox);
    form->addRow(QStringLiteral("Height:"), heightBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void AnimationExportDialog::setRange(int start, int end, int interval)
{
    const int frames = end >= start ? (end - start) / interval + 1 : 0;
    rangeLabel->setText(interval == 1 ? QStringLiteral("%1 to %2: %3 frames").arg(start).arg(end).arg(frames)
                                      : QStringLiteral("%1 to %2, every %3 steps: %4 frames")
                                            .arg(start)
                                            .arg(end)
                                            .arg(interval)
                                            .arg(frames));
}

int AnimationExportDialog::fps() const
{
    return fpsBox->value();
}

QSize AnimationExportDialog::frameSize() const
{
    return QSize(widthBox->value(), heightBox->value());
}
