// The recorder dialog: which types it offers, check-state propagation and what OK gives.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include "ModelRecord.h"
#include "zor_output_panel.h"

namespace {

QStringList treeTexts(QTreeWidget* tree)
{
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* type = tree->topLevelItem(i);
        QStringList row(type->text(0));
        for (int c = 0; c < type->childCount(); ++c)
            row << type->child(c)->text(0);
        out << row.join(' ');
    }
    return out;
}

void setTypes(const QVector<QString>& types)
{
    resetModelRecord();
    modelRecord()->elementTypes = types;
}

}  // namespace

class TestOutputPanel : public QObject {
    Q_OBJECT
private slots:
    void treeListsPresentTypesInTableOrder()
    {
        // Model order does not matter, a type shows once, a type without responses never shows.
        setTypes({"quad", "beamWithHinges", "truss", "quad"});
        zor_output_panel mixed;
        mixed.refreshOutputTree();
        QCOMPARE(treeTexts(mixed.treeWidget),
                 QStringList({"truss globalForces axialForce deformations", "quad force stresses"}));
    }

    void checksPropagateAndOkGivesTheChoice()
    {
        setTypes({"elasticBeamColumn", "quad"});
        QPointer<zor_output_panel> panel = new zor_output_panel;
        panel->refreshOutputTree();
        QSignalSpy spy(panel.data(), &zor_output_panel::outputSettingSignal);
        QTreeWidgetItem* beam = panel->treeWidget->topLevelItem(0);
        QTreeWidgetItem* quad = panel->treeWidget->topLevelItem(1);

        beam->setCheckState(0, Qt::Checked);
        for (int c = 0; c < beam->childCount(); ++c)
            QCOMPARE(beam->child(c)->checkState(0), Qt::Checked);
        beam->child(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(beam->checkState(0), Qt::PartiallyChecked);
        quad->child(0)->setCheckState(0, Qt::Checked);
        quad->child(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(quad->checkState(0), Qt::Checked);
        quad->child(0)->setCheckState(0, Qt::Unchecked);
        quad->child(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(quad->checkState(0), Qt::Unchecked);

        panel->spinBox->setValue(25);  // ignored while the monitor is off
        panel->buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(
            spy[0][0].value<QVector<QStringList>>(),
            QVector<QStringList>({{"elasticBeamColumn", "globalForces", "basicForces", "deformations"}}));
        QCOMPARE(spy[0][1].toInt(), 0);
        QTRY_VERIFY(panel.isNull());  // deletes itself when closed
    }

    void monitorScaleAndCancel()
    {
        setTypes({});
        zor_output_panel panel;
        panel.setAttribute(Qt::WA_DeleteOnClose, false);
        panel.refreshOutputTree();
        QSignalSpy spy(&panel, &zor_output_panel::outputSettingSignal);
        QVERIFY(!panel.spinBox->isEnabled());
        panel.checkBox->click();
        QVERIFY(panel.spinBox->isEnabled());
        panel.spinBox->setValue(25);
        panel.buttonBox->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(spy.count(), 0);
        panel.buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(spy.count(), 1);
        QVERIFY(spy[0][0].value<QVector<QStringList>>().isEmpty());
        QCOMPARE(spy[0][1].toInt(), 25);
        panel.checkBox->click();
        QVERIFY(!panel.spinBox->isEnabled());
    }

    void settingsInTableOrderFollowTheTable()
    {
        QCOMPARE(settingsInTableOrder({{"quad", "stresses"},
                                       {"truss", "deformations"},
                                       {"truss", "globalForces"},
                                       {"quad", "nonsense"}}),
                 QVector<QStringList>({{"truss", "globalForces", "deformations"}, {"quad", "stresses"}}));
    }
};

QTEST_MAIN(TestOutputPanel)
#include "tst_output_panel.moc"
