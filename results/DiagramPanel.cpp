#include "DiagramPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

DiagramPanel::DiagramPanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("DiagramPanel"));
    setWindowTitle(QStringLiteral("Diagrams"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    componentBox = new QComboBox(this);
    componentBox->setObjectName(QStringLiteral("componentBox"));
    form->addRow(QStringLiteral("Component:"), componentBox);
    scaleEdit = new QLineEdit(this);
    scaleEdit->setObjectName(QStringLiteral("scaleEdit"));
    scaleEdit->setToolTip(QStringLiteral("Drawn length of a unit value; empty for the automatic scale, "
                                         "which draws the largest value at a sixth of the model's size."));
    form->addRow(QStringLiteral("Scale:"), scaleEdit);
    layout->addLayout(form);
    sideBox = new QCheckBox(QStringLiteral("Draw moments on the compression side"), this);
    sideBox->setObjectName(QStringLiteral("sideBox"));
    layout->addWidget(sideBox);
    convention = new QLabel(
        QStringLiteral("N: tension positive. Vy = dMz/dx, Vz = dMy/dx (x from end i).\n"
                       "Moments are drawn on the tension side: a positive Mz stretches local -y,\n"
                       "a positive My local +z. Teal: positive, orange: negative."),
        this);
    layout->addWidget(convention);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);

    connect(componentBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &DiagramPanel::settingsChanged);
    connect(scaleEdit, &QLineEdit::editingFinished, this, &DiagramPanel::settingsChanged);
    connect(sideBox, &QCheckBox::toggled, this, &DiagramPanel::settingsChanged);
}

void DiagramPanel::setComponents(const QVector<ForceComponent>& components)
{
    const QString current = componentBox->currentText();
    const QSignalBlocker quiet(componentBox);
    componentBox->clear();
    for (ForceComponent c : components)
        componentBox->addItem(forceComponentName(c));
    // Bending about the strong axis of a plane frame first.
    const int keep = componentBox->findText(current.isEmpty() ? QStringLiteral("Mz") : current);
    componentBox->setCurrentIndex(keep >= 0 ? keep : 0);
}

ForceComponent DiagramPanel::component() const
{
    ForceComponent c = ForceComponent::Mz;
    parseForceComponent(componentBox->currentText(), &c);
    return c;
}

double DiagramPanel::scale() const
{
    bool ok = false;
    const double value = scaleEdit->text().trimmed().toDouble(&ok);
    return ok && value > 0.0 ? value : 0.0;
}

void DiagramPanel::setAutomaticScale(double scale)
{
    scaleEdit->setPlaceholderText(QStringLiteral("auto (%1)").arg(scale, 0, 'g', 3));
}

bool DiagramPanel::compressionSide() const
{
    return sideBox->isChecked();
}

void DiagramPanel::setStatus(const QString& text)
{
    statusLabel->setText(text);
}

QString DiagramPanel::status() const
{
    return statusLabel->text();
}
