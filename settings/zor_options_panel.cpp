#include "zor_options_panel.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "SettingsStore.h"

namespace {

const char* kDialogFont = "Microsoft YaHei UI";

struct ColorRow {
    const char* button;
    const char* text;
    const char* frame;
};

// Button, text and swatch of each MODELCOLOR key, in key order.
const ColorRow kModelColorRows[] = {
    {"pushButton", "Points", "frame"},          {"pushButton_2", "Restraints", "frame_2"},
    {"pushButton_3", "Frames", "frame_3"},      {"pushButton_4", "Area Face", "frame_4"},
    {"pushButton_5", "Area Edge", "frame_5"},   {"pushButton_6", "Solid Face", "frame_6"},
    {"pushButton_7", "Solid Edge", "frame_7"},  {"pushButton_8", "Background", "frame_8"},
    {"pushButton_13", "Scalars", "frame_12"},   {"pushButton_14", "EqualDOF", "frame_13"},
    {"pushButton_15", "RigidLink", "frame_14"},
};

const ColorRow kLabelColorRows[] = {
    {"pushButton_10", "Points", "frame_9"},
    {"pushButton_11", "Restraints", "frame_10"},
    {"pushButton_12", "Elements", "frame_11"},
};

struct ComboRow {
    const char* combo;
    const char* label;
    int keyIndex;  // position of its key in the transparency key list
};

// Shown in this order; stored under the key at keyIndex.
const ComboRow kTransparencyRows[] = {
    {"comboBox", "Points", 0},      {"comboBox_2", "Restraints", 1}, {"comboBox_3", "Frames", 2},
    {"comboBox_11", "EqualDOF", 7}, {"comboBox_12", "RigidLink", 8}, {"comboBox_4", "Area Face", 3},
    {"comboBox_5", "Area Edge", 4}, {"comboBox_6", "Solid Face", 5}, {"comboBox_7", "Solid Edge", 6},
};

QStringList descendingNumbers(int from, int to, int step)
{
    QStringList entries;
    for (int v = from; v >= to; v -= step)
        entries << QString::number(v);
    return entries;
}

QStringList transparencyEntries()
{
    QStringList entries;
    for (int i = 0; i <= 10; ++i)
        entries << QString::number((10 - i) / 10.0, 'f', 1);
    return entries;
}

QComboBox* makeCombo(const char* name, const QStringList& entries, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(entries);
    combo->setEditable(false);
    return combo;
}

// Qt's tab widget asks every page for its size; this one asks only the page shown, so that
// the dialog can fit the tab in front.
class FittingTabWidget : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    QSize sizeHint() const override { return fitted(QTabWidget::sizeHint(), &QWidget::sizeHint); }
    QSize minimumSizeHint() const override
    {
        return fitted(QTabWidget::minimumSizeHint(), &QWidget::minimumSizeHint);
    }

private:
    QSize fitted(const QSize& all, QSize (QWidget::*hint)() const) const
    {
        const QWidget* page = currentWidget();
        if (!page)
            return all;
        const QSize pageHint = (page->*hint)().expandedTo(page->minimumSize());
        const int bar = tabBar()->sizeHint().height();
        return QSize(qMax(pageHint.width(), tabBar()->sizeHint().width()) + 4, pageHint.height() + bar + 4);
    }
};

}  // namespace

SwatchFrame::SwatchFrame(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Raised);
    setMinimumWidth(50);
    setAutoFillBackground(true);
}

void SwatchFrame::setColor(const QColor& color)
{
    setPalette(QPalette(color));
}

QColor SwatchFrame::color() const
{
    return palette().color(QPalette::Window);
}

std::function<QColor(QWidget*)> zor_options_panel::colorProvider = [](QWidget* parent) {
    return QColorDialog::getColor(Qt::white, parent, QString());
};

std::function<QString(QWidget*, const QString&, const QString&, const QString&)>
    zor_options_panel::openFileNameProvider =
        [](QWidget* parent, const QString& caption, const QString& dir, const QString& filter) {
            return QFileDialog::getOpenFileName(parent, caption, dir, filter);
        };

std::function<void(QWidget*, const QString&, const QString&)> zor_options_panel::warningProvider =
    [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text);
    };

QString zor_options_panel::solverFileFilter()
{
#ifdef Q_OS_WIN
    return QStringLiteral("EXE File (*.exe)");
#else
    return QStringLiteral("All Files (*)");
#endif
}

zor_options_panel::zor_options_panel(const QString& configPath, QWidget* parent) : QDialog(parent)
{
    buildForm();
    setAttribute(Qt::WA_DeleteOnClose);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    updateSizes(0);
    connect(tabWidget, &QTabWidget::currentChanged, this, &zor_options_panel::updateSizes);
    m_configPath = configPath;
    if (!QFileInfo(m_configPath).isFile() && !writeDefaultSettings())
        reportUnwritable();
    // Also after writing the defaults, so that OK stores what the file holds, not the first entries.
    loadSettings();
}

void zor_options_panel::buildForm()
{
    setObjectName(QStringLiteral("zor_options_panel"));
    setWindowTitle(QStringLiteral("Options"));
    resize(451, 600);
    const QFont dialogFont{QString::fromLatin1(kDialogFont)};
    setFont(dialogFont);

    auto* layout = new QVBoxLayout(this);
    tabWidget = new FittingTabWidget(this);
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    tabWidget->addTab(buildEnvironmentTab(), QStringLiteral("Environment"));
    tabWidget->addTab(buildDisplayTab(), QStringLiteral("Display"));
    tabWidget->setCurrentIndex(0);
    layout->addWidget(tabWidget);

    buttonBox = new QDialogButtonBox(Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
    buttonBox->setFont(dialogFont);
    layout->addWidget(buttonBox);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    QMetaObject::connectSlotsByName(this);
}

QWidget* zor_options_panel::buildEnvironmentTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab"));
    auto* grid = new QGridLayout(tab);
    auto* label = new QLabel(QStringLiteral("OpenSees Path:"), tab);
    label->setObjectName(QStringLiteral("label_9"));
    lineEdit = new QLineEdit(tab);
    lineEdit->setObjectName(QStringLiteral("lineEdit"));
    auto* browse = new QPushButton(QStringLiteral("Browse..."), tab);
    browse->setObjectName(QStringLiteral("pushButton_9"));
    trustScripts =
        new QCheckBox(QStringLiteral("Trust scripts: evaluate with the whole of Tcl when opening"), tab);
    trustScripts->setObjectName(QStringLiteral("checkBoxTrustScripts"));
    trustScripts->setToolTip(
        QStringLiteral("Off: opening a script never runs programs, opens connections or changes files"));
    grid->addWidget(label, 0, 0);
    grid->addWidget(lineEdit, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(trustScripts, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    return tab;
}

QWidget* zor_options_panel::buildDisplayTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tab_2"));
    auto* column = new QVBoxLayout(tab);

    auto addColorGroup = [&](const char* name, const QString& title, const ColorRow* rows, int count,
                             QVector<SwatchFrame*>& swatches) {
        auto* group = new QGroupBox(title, tab);
        group->setObjectName(QLatin1String(name));
        auto* grid = new QGridLayout(group);
        for (int i = 0; i < count; ++i) {
            auto* button = new QPushButton(QLatin1String(rows[i].text), group);
            button->setObjectName(QLatin1String(rows[i].button));
            auto* swatch = new SwatchFrame(group);
            swatch->setObjectName(QLatin1String(rows[i].frame));
            const int r = i / 2, c = (i % 2) * 2;
            grid->addWidget(button, r, c);
            grid->addWidget(swatch, r, c + 1);
            swatches << swatch;
        }
        column->addWidget(group);
    };
    addColorGroup("groupBox", QStringLiteral("Model Color"), kModelColorRows, 11, modelSwatches);
    addColorGroup("groupBox_4", QStringLiteral("Label Color"), kLabelColorRows, 3, labelSwatches);

    auto* sizes = new QGroupBox(QStringLiteral("Size && Width"), tab);
    sizes->setObjectName(QStringLiteral("groupBox_3"));
    auto* sizeGrid = new QGridLayout(sizes);
    const struct {
        const char* combo;
        const char* label;
        QStringList entries;
    } sizeRows[] = {{"comboBox_8", "Point Size", descendingNumbers(20, 1, 1)},
                    {"comboBox_9", "Line Width", descendingNumbers(20, 1, 1)},
                    {"comboBox_10", "Label Size", descendingNumbers(50, 5, 5)}};
    for (int i = 0; i < 3; ++i) {
        sizeGrid->addWidget(new QLabel(QLatin1String(sizeRows[i].label), sizes), 0, i * 2);
        auto* combo = makeCombo(sizeRows[i].combo, sizeRows[i].entries, sizes);
        sizeGrid->addWidget(combo, 0, i * 2 + 1);
        sizeCombos << combo;
    }
    column->addWidget(sizes);

    auto* transparency = new QGroupBox(QStringLiteral("Model Transparency"), tab);
    transparency->setObjectName(QStringLiteral("groupBox_2"));
    auto* tGrid = new QGridLayout(transparency);
    transparencyCombos.resize(9);
    int i = 0;
    for (const ComboRow& row : kTransparencyRows) {
        auto* combo = makeCombo(row.combo, transparencyEntries(), transparency);
        tGrid->addWidget(new QLabel(QLatin1String(row.label), transparency), i / 3, (i % 3) * 2);
        tGrid->addWidget(combo, i / 3, (i % 3) * 2 + 1);
        transparencyCombos[row.keyIndex] = combo;
        ++i;
    }
    column->addWidget(transparency);
    return tab;
}

void zor_options_panel::loadSettings()
{
    // What the readers give, defaults for missing or unreadable keys included: the dialog shows
    // what is drawn, and OK never stores an invisible opacity 0 for a key it did not find.
    const QString& path = m_configPath;
    lineEdit->setText(SettingsStore::solverPath(path));
    trustScripts->setChecked(SettingsStore::trustScripts(path));
    for (int i = 0; i < modelSwatches.size(); ++i)
        modelSwatches[i]->setColor(SettingsStore::color(path, "MODELCOLOR/" + SettingsStore::modelColorKeys[i]));
    for (int i = 0; i < transparencyCombos.size(); ++i)
        transparencyCombos[i]->setCurrentIndex(
            SettingsStore::integer(path, "MODELTRANSPARENCY/" + SettingsStore::modelTransparencyKeys[i]));
    // A size that is not offered leaves the combo where it was.
    for (int i = 0; i < sizeCombos.size(); ++i)
        sizeCombos[i]->setCurrentText(
            QString::number(SettingsStore::integer(path, "SIZEANDWIDTH/" + SettingsStore::sizeKeys[i])));
    for (int i = 0; i < labelSwatches.size(); ++i)
        labelSwatches[i]->setColor(SettingsStore::color(path, "LABELCOLOR/" + SettingsStore::labelColorKeys[i]));
}

bool zor_options_panel::saveSettings()
{
    QSettings s(m_configPath, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("EXEPATH"));
    s.setValue(QStringLiteral("OSPath"), lineEdit->text());
    s.setValue(QStringLiteral("TrustScripts"), trustScripts->isChecked());
    s.endGroup();
    s.beginGroup(QStringLiteral("MODELCOLOR"));
    for (int i = 0; i < modelSwatches.size(); ++i)
        s.setValue(SettingsStore::modelColorKeys[i], modelSwatches[i]->color());
    s.endGroup();
    s.beginGroup(QStringLiteral("MODELTRANSPARENCY"));
    for (int i = 0; i < transparencyCombos.size(); ++i)
        s.setValue(SettingsStore::modelTransparencyKeys[i], transparencyCombos[i]->currentIndex());
    s.endGroup();
    s.beginGroup(QStringLiteral("SIZEANDWIDTH"));
    for (int i = 0; i < sizeCombos.size(); ++i)
        s.setValue(SettingsStore::sizeKeys[i], sizeCombos[i]->currentText());
    s.endGroup();
    s.beginGroup(QStringLiteral("LABELCOLOR"));
    for (int i = 0; i < labelSwatches.size(); ++i)
        s.setValue(SettingsStore::labelColorKeys[i], labelSwatches[i]->color());
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

bool zor_options_panel::writeDefaultSettings()
{
    return SettingsStore::writeDefaults(m_configPath);
}

void zor_options_panel::reportUnwritable()
{
    warningProvider(this, QStringLiteral("Options"),
                    QStringLiteral("The settings file \"%1\" could not be written.").arg(m_configPath));
}

void zor_options_panel::updateSizes(int index)
{
    for (int i = 0; i < tabWidget->count(); ++i)
        if (i != index)
            tabWidget->widget(i)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    QWidget* current = tabWidget->widget(index);
    current->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    current->resize(current->sizeHint());
    current->setMinimumWidth(350);
    current->adjustSize();
    resize(sizeHint());
    adjustSize();
}

void zor_options_panel::on_buttonBox_clicked(QAbstractButton* button)
{
    const auto role = buttonBox->standardButton(button);
    if (role != QDialogButtonBox::Apply && role != QDialogButtonBox::Ok)
        return;
    if (!saveSettings())
        reportUnwritable();
    emit configChanged();
}

void zor_options_panel::pickColor(SwatchFrame* swatch)
{
    const QColor chosen = colorProvider(this);
    if (chosen.isValid())
        swatch->setColor(chosen);
}

void zor_options_panel::on_pushButton_9_clicked()
{
    const QString name =
        openFileNameProvider(this, QStringLiteral("Open File..."), QStringLiteral("."), solverFileFilter());
    if (!name.isEmpty())
        lineEdit->setText(name);
}

void zor_options_panel::on_pushButton_clicked()
{
    pickColor(modelSwatches[0]);
}
void zor_options_panel::on_pushButton_2_clicked()
{
    pickColor(modelSwatches[1]);
}
void zor_options_panel::on_pushButton_3_clicked()
{
    pickColor(modelSwatches[2]);
}
void zor_options_panel::on_pushButton_4_clicked()
{
    pickColor(modelSwatches[3]);
}
void zor_options_panel::on_pushButton_5_clicked()
{
    pickColor(modelSwatches[4]);
}
void zor_options_panel::on_pushButton_6_clicked()
{
    pickColor(modelSwatches[5]);
}
void zor_options_panel::on_pushButton_7_clicked()
{
    pickColor(modelSwatches[6]);
}
void zor_options_panel::on_pushButton_8_clicked()
{
    pickColor(modelSwatches[7]);
}
void zor_options_panel::on_pushButton_13_clicked()
{
    pickColor(modelSwatches[8]);
}
void zor_options_panel::on_pushButton_14_clicked()
{
    pickColor(modelSwatches[9]);
}
void zor_options_panel::on_pushButton_15_clicked()
{
    pickColor(modelSwatches[10]);
}
void zor_options_panel::on_pushButton_10_clicked()
{
    pickColor(labelSwatches[0]);
}
void zor_options_panel::on_pushButton_11_clicked()
{
    pickColor(labelSwatches[1]);
}
void zor_options_panel::on_pushButton_12_clicked()
{
    pickColor(labelSwatches[2]);
}
