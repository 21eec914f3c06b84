#include "zor_result_panel.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

std::function<void(QWidget*, const QString&, const QString&)> zor_result_panel::criticalBox =
    [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::critical(parent, title, text, QMessageBox::Ok);
    };

namespace {

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    widget->setFont(QFont(QStringLiteral("Microsoft YaHei UI")));
    return widget;
}

QLineEdit* field(QWidget* parent, const char* name)
{
    auto* edit = named(new QLineEdit(parent), name);
    edit->setMaximumWidth(80);
    return edit;
}

QGridLayout* pairGrid(QWidget* a, QWidget* b, QWidget* c = nullptr, QWidget* d = nullptr)
{
    auto* grid = new QGridLayout;
    grid->addWidget(a, 0, 0);
    grid->addWidget(b, c ? 0 : 1, c ? 1 : 0);
    if (c) {
        grid->addWidget(c, 1, 0);
        grid->addWidget(d, 1, 1);
    }
    return grid;
}

}  // namespace

PlayRange playRange(const QString& start, const QString& end, const QString& interval, const QString& seconds,
                    int lastStep)
{
    PlayRange r;
    r.start = std::max(1, start.toInt());
    r.end = std::min(end.toInt(), lastStep);
    r.interval = std::max(1, interval.toInt());
    r.waitMs = int(std::max(1e-9, seconds.toDouble()) * 1000.0);
    r.valid = r.end >= r.start;
    return r;
}

zor_result_panel::zor_result_panel(QWidget* parent) : QMainWindow(parent)
{
    buildForm();
    setAttribute(Qt::WA_DeleteOnClose);
    // Arrow keys step while the window is active; text fields keep them for their cursor.
    for (const auto& key : {std::make_pair(Qt::Key_Left, -1), std::make_pair(Qt::Key_Right, 1)}) {
        auto* shortcut = new QShortcut(QKeySequence(key.first), this);
        const int delta = key.second;
        connect(shortcut, &QShortcut::activated, this, [this, delta] { stepBy(delta); });
    }
    QMetaObject::connectSlotsByName(this);
}

void zor_result_panel::buildForm()
{
    setObjectName(QStringLiteral("zor_result_panel"));
    setWindowTitle(QStringLiteral("Animation"));
    resize(535, 205);
    centralwidget = new QWidget(this);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    setCentralWidget(centralwidget);
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    setStatusBar(statusBar);

    groupBox = new QGroupBox(QStringLiteral("Animation"), centralwidget);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setMaximumHeight(140);
    auto* central = new QVBoxLayout(centralwidget);
    central->addWidget(groupBox);

    horizontalSlider = new QSlider(Qt::Horizontal, groupBox);
    horizontalSlider->setObjectName(QStringLiteral("horizontalSlider"));
    horizontalSlider->setPageStep(1);
    label_5 = named(new QLabel(QStringLiteral("Scale Factor:"), groupBox), "label_5");
    lineEdit_5 = field(groupBox, "lineEdit_5");
    lineEdit_5->setAlignment(Qt::AlignCenter);
    label = named(new QLabel(QStringLiteral("Start Step:"), groupBox), "label");
    lineEdit = field(groupBox, "lineEdit");
    label_3 = named(new QLabel(QStringLiteral("Step Interval:"), groupBox), "label_3");
    lineEdit_3 = field(groupBox, "lineEdit_3");
    label_2 = named(new QLabel(QStringLiteral("End Step:"), groupBox), "label_2");
    lineEdit_2 = field(groupBox, "lineEdit_2");
    label_4 = named(new QLabel(QStringLiteral("Time Interval:"), groupBox), "label_4");
    lineEdit_4 = field(groupBox, "lineEdit_4");
    pushButton = named(new QPushButton(QStringLiteral("Play"), groupBox), "pushButton");
    pushButton->setMinimumWidth(80);
    pushButton_2 = named(new QPushButton(QStringLiteral("Stop"), groupBox), "pushButton_2");
    pushButton_2->setMinimumWidth(80);
    pushButton_3 =
        named(new QPushButton(QStringLiteral("Export Animation..."), centralwidget), "pushButton_3");
    auto* exportRow = new QHBoxLayout;
    exportRow->addStretch();
    exportRow->addWidget(pushButton_3);
    central->addLayout(exportRow);

    auto* column = new QVBoxLayout(groupBox);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(horizontalSlider);
    sliderRow->addWidget(label_5);
    sliderRow->addWidget(lineEdit_5);
    column->addLayout(sliderRow);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->addLayout(pairGrid(label, lineEdit, label_3, lineEdit_3));
    fieldRow->addStretch();
    fieldRow->addLayout(pairGrid(label_2, lineEdit_2, label_4, lineEdit_4));
    fieldRow->addStretch();
    fieldRow->addLayout(pairGrid(pushButton, pushButton_2));
    column->addLayout(fieldRow);
}

void zor_result_panel::setStepCount(int count)
{
    {
        const QSignalBlocker quietSlider(horizontalSlider);
        const QSignalBlocker quietScale(lineEdit_5);
        horizontalSlider->setRange(1, count);
        horizontalSlider->setValue(1);
        lineEdit->setText(QStringLiteral("1"));
        lineEdit_2->setText(QString::number(count));
        lineEdit_3->setText(QStringLiteral("10"));
        lineEdit_4->setText(QStringLiteral("0.01"));
        lineEdit_5->setText(QStringLiteral("1"));
    }
    on_horizontalSlider_valueChanged(1);
}

void zor_result_panel::on_horizontalSlider_valueChanged(int value)
{
    emit sliderChangedSignal(value, lineEdit_5->text().toDouble());
    statusBar->showMessage(QStringLiteral("Current Step: %1").arg(value));
}

void zor_result_panel::on_lineEdit_5_textChanged(const QString& arg1)
{
    emit sliderChangedSignal(horizontalSlider->value(), arg1.toDouble());
}

void zor_result_panel::on_pushButton_clicked()
{
    // One loop at a time: a second Play while playing changes nothing.
    if (m_inPlay)
        return;
    const PlayRange r = playRange(lineEdit->text(), lineEdit_2->text(), lineEdit_3->text(),
                                  lineEdit_4->text(), horizontalSlider->maximum());
    if (!r.valid) {
        criticalBox(this, QStringLiteral("Animation"), QStringLiteral("Error in Start Step or End Stop!"));
        return;
    }
    m_playing = true;
    m_inPlay = true;
    setControlsEnabled(false);
    const QPointer<zor_result_panel> self(this);
    while (m_playing) {
        for (int s = r.start; s <= r.end && m_playing; s += r.interval) {
            horizontalSlider->setValue(s);
            QEventLoop wait;
            QTimer::singleShot(r.waitMs, &wait, &QEventLoop::quit);
            wait.exec();
            // Destroyed from outside during the wait (its parent went): touch nothing.
            if (!self)
                return;
        }
    }
    m_inPlay = false;
    setControlsEnabled(true);
    // Closed during a wait: destroyed only now that this handler is leaving.
    if (m_deleteAfterPlay)
        deleteLater();
}

void zor_result_panel::on_pushButton_2_clicked()
{
    m_playing = false;
    setControlsEnabled(true);
}

void zor_result_panel::on_pushButton_3_clicked()
{
    const PlayRange r = playRange(lineEdit->text(), lineEdit_2->text(), lineEdit_3->text(),
                                  lineEdit_4->text(), horizontalSlider->maximum());
    if (!r.valid) {
        criticalBox(this, QStringLiteral("Animation"), QStringLiteral("Error in Start Step or End Stop!"));
        return;
    }
    emit exportAnimationSignal(r.start, r.end, r.interval, lineEdit_5->text().toDouble());
}

void zor_result_panel::closeEvent(QCloseEvent* event)
{
    on_pushButton_2_clicked();
    if (m_inPlay) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        m_deleteAfterPlay = true;
    }
    QMainWindow::closeEvent(event);
}

void zor_result_panel::setControlsEnabled(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{horizontalSlider, lineEdit, lineEdit_2, lineEdit_3,
                                                      lineEdit_4, lineEdit_5, pushButton, pushButton_3})
        w->setEnabled(on);
}

void zor_result_panel::stepBy(int delta)
{
    if (horizontalSlider->isEnabled())
        horizontalSlider->setValue(horizontalSlider->value() + delta);
}
