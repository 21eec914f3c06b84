#include "ModesPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtMath>

#include "DeformationScale.h"

ModesPanel::ModesPanel(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("ModesPanel"));
    setWindowTitle(QStringLiteral("Modes"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(560, 360);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("eigen call:"), this));
    callBox = new QComboBox(this);
    callBox->setObjectName(QStringLiteral("callBox"));
    callBox->setToolTip(QStringLiteral("Each eigen command of the script, in the order the run reached them."));
    top->addWidget(callBox, 1);
    layout->addLayout(top);

    table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("table"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Scale:"), this));
    scaleEdit = new QLineEdit(this);
    scaleEdit->setObjectName(QStringLiteral("scaleEdit"));
    scaleEdit->setToolTip(QStringLiteral("Empty for the automatic scale, which draws the largest translation "
                                         "at a tenth of the model's largest extent."));
    bottom->addWidget(scaleEdit);
    playButton = new QPushButton(QStringLiteral("Play"), this);
    playButton->setObjectName(QStringLiteral("playButton"));
    stopButton = new QPushButton(QStringLiteral("Stop"), this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    bottom->addWidget(playButton);
    bottom->addWidget(stopButton);
    layout->addLayout(bottom);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    layout->addWidget(statusLabel);

    m_timer.setInterval(40);
    connect(&m_timer, &QTimer::timeout, this, &ModesPanel::tick);
    connect(callBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ModesPanel::fillTable);
    connect(table, &QTableWidget::itemSelectionChanged, this, &ModesPanel::modeChosen);
    connect(scaleEdit, &QLineEdit::textChanged, this, [this] {
        if (!playing())
            request(1.0);
    });
    connect(playButton, &QPushButton::clicked, this, &ModesPanel::play);
    connect(stopButton, &QPushButton::clicked, this, &ModesPanel::stop);
    stopButton->setEnabled(false);
}

void ModesPanel::setCalls(const QVector<EigenCall>& calls)
{
    m_calls = calls;
    const QSignalBlocker quiet(callBox);
    callBox->clear();
    for (const EigenCall& call : calls) {
        callBox->addItem(call.problem.isEmpty()
                             ? QStringLiteral("call %1 of %2: %3 mode%4")
                                   .arg(call.number)
                                   .arg(calls.size())
                                   .arg(call.modeCount())
                                   .arg(call.modeCount() == 1 ? "" : "s")
                             : QStringLiteral("call %1 of %2: not readable").arg(call.number).arg(calls.size()));
    }
    callBox->setCurrentIndex(calls.size() - 1);
    callBox->setEnabled(calls.size() > 1);
    fillTable();
}

void ModesPanel::setModelExtent(double extent)
{
    m_extent = extent;
    modeChosen();
}

const EigenCall* ModesPanel::currentCall() const
{
    const int i = callBox->currentIndex();
    return i >= 0 && i < m_calls.size() ? &m_calls[i] : nullptr;
}

int ModesPanel::currentMode() const
{
    const EigenCall* call = currentCall();
    const QList<QTableWidgetItem*> selected = table->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.first()->row();
    return call && row < call->modeCount() ? row : -1;
}

double ModesPanel::automaticScale() const
{
    const EigenCall* call = currentCall();
    return call ? ::automaticScale(m_extent, largestTranslation(*call, currentMode())) : 1.0;
}

double ModesPanel::scale() const
{
    bool ok = false;
    const double typed = scaleEdit->text().trimmed().toDouble(&ok);
    return ok && std::isfinite(typed) ? typed : automaticScale();
}

void ModesPanel::setStatus(const QString& text)
{
    statusLabel->setText(text);
}

QString ModesPanel::status() const
{
    return statusLabel->text();
}

void ModesPanel::fillTable()
{
    const EigenCall* call = currentCall();
    const int massColumns = call && call->hasMass() ? call->massRatios.first().size() : 1;
    const QSignalBlocker quiet(table);
    table->clear();
    QStringList header{QStringLiteral("Mode"), QStringLiteral("λ"), QStringLiteral("ω (rad/s)"),
                       QStringLiteral("f (Hz)"), QStringLiteral("T (s)")};
    static const char* const axes[] = {"X", "Y", "Z"};
    for (int c = 0; c < massColumns; ++c)
        header << (call && call->hasMass() ? QStringLiteral("Mass %1 (%)").arg(QLatin1String(axes[c]))
                                           : QStringLiteral("Mass"));
    table->setColumnCount(header.size());
    table->setHorizontalHeaderLabels(header);
    const int modes = call ? call->modeCount() : 0;
    table->setRowCount(modes);
    for (int m = 0; m < modes; ++m) {
        const ModeRow row = modeRow(*call, m);
        const QStringList cells = modeRowTexts(row, massColumns);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!row.oscillates)
                item->setToolTip(QStringLiteral("λ ≤ 0: no oscillation, not animated"));
            table->setItem(m, c, item);
        }
    }
    // Every column in view: the mass ratios are what the table is read for.
    table->resizeColumnsToContents();
    int width = 2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < table->columnCount(); ++c)
        width += table->columnWidth(c);
    table->setMinimumWidth(width);
    if (modes > 0)
        table->selectRow(0);
    modeChosen();
}

void ModesPanel::modeChosen()
{
    const EigenCall* call = currentCall();
    const int mode = currentMode();
    const ModeRow row = call ? modeRow(*call, mode) : ModeRow();
    scaleEdit->setPlaceholderText(QStringLiteral("auto (%1)").arg(automaticScale(), 0, 'g', 3));
    playButton->setEnabled(mode >= 0 && row.oscillates && !playing());
    if (!call)
        setStatus(QStringLiteral("The last run made no eigen call."));
    else if (!call->problem.isEmpty())
        setStatus(QStringLiteral("The modes of eigen call %1 cannot be read: %2.").arg(call->number).arg(call->problem));
    else if (mode < 0)
        setStatus(QStringLiteral("eigen call %1 gave no mode.").arg(call->number));
    else if (!row.oscillates)
        setStatus(QStringLiteral("Mode %1: λ = %2 is not positive: no oscillation, not animated.")
                      .arg(row.mode)
                      .arg(row.lambda, 0, 'g', 6));
    else
        setStatus(QStringLiteral("Mode %1: T = %2 s%3.")
                      .arg(row.mode)
                      .arg(row.period, 0, 'g', 6)
                      .arg(call->hasMass() ? QString() : QStringLiteral("; no mass ratios (the model has no mass)")));
    if (playing() && !row.oscillates)
        stop();
    if (!playing())
        request(1.0);
}

void ModesPanel::play()
{
    const EigenCall* call = currentCall();
    if (!call || !modeRow(*call, currentMode()).oscillates)
        return;
    m_clock.start();
    m_timer.start();
    playButton->setEnabled(false);
    stopButton->setEnabled(true);
    tick();
}

void ModesPanel::stop()
{
    m_timer.stop();
    stopButton->setEnabled(false);
    modeChosen();
}

void ModesPanel::tick()
{
    request(std::sin(2.0 * M_PI * double(m_clock.elapsed() % cycleMs) / cycleMs));
}

void ModesPanel::request(double sine)
{
    const EigenCall* call = currentCall();
    const bool oscillates = call && modeRow(*call, currentMode()).oscillates;
    emit shapeRequested(oscillates ? scale() * sine : 0.0);
}
