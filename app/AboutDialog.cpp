#include "AboutDialog.h"

#include <qcustomplot.h>
#include <tcl.h>
#include <vtkVersion.h>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutPanel"));
    setWindowTitle(QStringLiteral("About Tolvane"));
    setFont(QFont(QStringLiteral("Microsoft YaHei UI")));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/Icon/SRC/Icon/Tolvane.png")).scaled(64, 64));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    auto* text = new QLabel(aboutText(), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setTextFormat(Qt::RichText);
    text->setAlignment(Qt::AlignHCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QStringList AboutDialog::libraryVersions()
{
    int major = 0, minor = 0, patch = 0, type = 0;
    Tcl_GetVersion(&major, &minor, &patch, &type);
    return {QStringLiteral("Qt %1").arg(QLatin1String(qVersion())),
            QStringLiteral("VTK %1").arg(QLatin1String(vtkVersion::GetVTKVersion())),
            QStringLiteral("Tcl %1.%2.%3").arg(major).arg(minor).arg(patch),
            QStringLiteral("QCustomPlot %1").arg(QLatin1String(QCUSTOMPLOT_VERSION_STR))};
}

QString AboutDialog::aboutText()
{
    return QStringLiteral(
               "<h3>Tolvane %1</h3>"
               "<p>Edit OpenSees Tcl scripts, see the model in 3-D, run the solver and study "
               "its results.</p><p>%2</p>")
        .arg(QCoreApplication::applicationVersion().isEmpty() ? QStringLiteral(TOLVANE_VERSION)
                                                              : QCoreApplication::applicationVersion(),
             libraryVersions().join(QStringLiteral("<br>")));
}
