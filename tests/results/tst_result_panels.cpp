// The animation panel and the result choice dialog, driven through their widgets; no modal
// box opens (the critical box is replaced).
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include "ModelRecord.h"
#include "RunRecord.h"
#include "zor_result_panel.h"
#include "zor_result_read_panel.h"

namespace {

QStringList comboItems(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

QStringList comboData(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemData(i).toString();
    return out;
}

QList<int> steps(const QSignalSpy& spy)
{
    QList<int> out;
    for (const QList<QVariant>& args : spy)
        out << args.at(0).toInt();
    return out;
}

void addElements(const QString& type, int nodeCount, int count)
{
    ModelRecord* m = modelRecord();
    for (int e = 0; e < count; ++e) {
        m->elementTypes.append(type);
        m->elementTags.append(m->elementTags.size() + 1);
        m->elementNodeCounts.append(nodeCount);
        for (int k = 1; k <= 8; ++k)
            m->elementNodes(k).append(k <= nodeCount ? k : -1);
    }
}

QByteArray sampleLine(int values)
{
    QByteArray line = "0.01";
    for (int i = 1; i <= values; ++i)
        line += ' ' + QByteArray::number(i * 1.5);
    return line + '\n';
}

}  // namespace

class tst_result_panels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        zor_result_panel::criticalBox = [this](QWidget*, const QString& title, const QString& text) {
            m_boxes << title + ": " + text;
        };
    }
    void init()
    {
        m_boxes.clear();
        resetModelRecord();
    }

    void stepCountDefaultsAndScale()
    {
        zor_result_panel panel;
        QSignalSpy spy(&panel, &zor_result_panel::sliderChangedSignal);
        panel.setStepCount(57, 11.2332);  // the box shows the first scale as drawn: three digits
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0), (QList<QVariant>{1, 11.2}));
        QCOMPARE(panel.statusBar->currentMessage(), QString("Current Step: 1"));
        QCOMPARE((QList<int>{panel.horizontalSlider->minimum(), panel.horizontalSlider->maximum()}),
                 (QList<int>{1, 57}));

        panel.horizontalSlider->setValue(5);
        panel.lineEdit_5->setText("2.5");
        panel.lineEdit_5->setText("abc");
        QCOMPARE(spy.mid(1), (QList<QList<QVariant>>{{5, 11.2}, {5, 2.5}, {5, 0.0}}));
        QCOMPARE(panel.statusBar->currentMessage(), QString("Current Step: 5"));

        // The legend's range: a fixed one counts once both numbers are typed, in either order.
        struct Range {
            int choice;
            QString min, max;
            ContourDisplay::Range range;
            double low, high;
        };
        const Range ranges[] = {{1, "", "", ContourDisplay::ThisStep, 0, 0},
                                {2, "40", "", ContourDisplay::AllSteps, 40, 0},
                                {2, "40", "-2.5", ContourDisplay::Fixed, -2.5, 40}};
        for (const Range& r : ranges) {
            const int drawn = spy.size();
            panel.rangeBox->setCurrentIndex(r.choice);
            panel.rangeMinEdit->setText(r.min);
            panel.rangeMaxEdit->setText(r.max);
            emit panel.rangeMaxEdit->editingFinished();
            QVERIFY(spy.size() > drawn);  // the step is drawn again
            const ContourDisplay d = panel.contourDisplay();
            QCOMPARE(d.range, r.range);
            QVERIFY(d.range != ContourDisplay::Fixed || (d.fixedMin == r.low && d.fixedMax == r.high));
        }
        // An envelope has no steps to move through; the scale still applies.
        panel.setStepsApply(false);
        QVERIFY(!panel.horizontalSlider->isEnabled() && !panel.pushButton->isEnabled());
        QVERIFY(panel.lineEdit_5->isEnabled());
    }

    void playLoopsUntilStop()
    {
        struct Case {
            QStringList fields;  // start, end, interval, time interval
            QList<int> expected;
            QStringList boxes = {};
        };
        const Case cases[] = {
            {{"1", "57", "10", "0.0005"}, {1, 11, 21, 31, 41, 51, 1, 11}},
            {{"50", "100", "3", "0.0005"}, {50, 53, 56, 50, 53}},  // the end is clamped to the steps
            {{"0", "3", "0", "0"}, {1, 2, 3, 1, 2}},               // start 0 and interval 0 count as 1
            {{"30", "20", "10", "0"}, {}, {"Animation: Error in Start Step or End Stop!"}},
        };
        for (const Case& c : cases) {
            m_boxes.clear();
            zor_result_panel panel;
            panel.setStepCount(57);
            panel.horizontalSlider->setValue(57);
            const QList<QLineEdit*> edits{panel.lineEdit, panel.lineEdit_2, panel.lineEdit_3,
                                          panel.lineEdit_4};
            for (int i = 0; i < edits.size(); ++i)
                edits[i]->setText(c.fields[i]);
            QSignalSpy spy(&panel, &zor_result_panel::sliderChangedSignal);
            bool lockedWhilePlaying = true;
            connect(&panel, &zor_result_panel::sliderChangedSignal, this, [&] {
                lockedWhilePlaying &= panel.isPlaying() && !panel.pushButton->isEnabled() &&
                                      !panel.horizontalSlider->isEnabled() &&
                                      !panel.lineEdit_5->isEnabled() && panel.pushButton_2->isEnabled();
                if (spy.size() == 1)  // a second Play while playing starts nothing
                    QMetaObject::invokeMethod(&panel, "on_pushButton_clicked");
                if (spy.size() == c.expected.size())
                    panel.pushButton_2->click();
            });
            panel.pushButton->click();
            QCOMPARE(steps(spy), c.expected);
            QCOMPARE(m_boxes, c.boxes);
            QVERIFY(lockedWhilePlaying);
            QVERIFY(!panel.isPlaying() && panel.pushButton->isEnabled() &&
                    panel.horizontalSlider->isEnabled());
        }
    }

    void closeWhilePlayingDefersDeletion()
    {
        QPointer<zor_result_panel> panel = new zor_result_panel;
        panel->setStepCount(57);
        panel->lineEdit_4->setText("0");
        panel->show();
        int seen = 0;
        connect(panel, &zor_result_panel::sliderChangedSignal, this, [&] {
            if (++seen == 3)
                panel->close();
        });
        panel->pushButton->click();
        QCOMPARE(seen, 3);
        QVERIFY2(panel, "destroyed while Play was still running");
        QVERIFY(!panel->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!panel);
    }

    void arrowKeysStepWhileActive()
    {
        zor_result_panel panel;
        panel.setStepCount(57);
        panel.horizontalSlider->setValue(10);
        panel.show();
        panel.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QTest::keyClick(panel.pushButton_2, Qt::Key_Right);
        QCOMPARE(panel.horizontalSlider->value(), 11);
        QTest::keyClick(panel.horizontalSlider, Qt::Key_Left);
        QCOMPARE(panel.horizontalSlider->value(), 10);
        // A text field keeps its arrows.
        QTest::keyClick(panel.lineEdit, Qt::Key_Right);
        QCOMPARE(panel.horizontalSlider->value(), 10);
    }

    void selectionFromRunRecord()
    {
        addElements("elasticBeamColumn", 2, 2);
        addElements("quad", 4, 1);
        modelRecord()->ndm = 2;
        writeRecord({{"elasticBeamColumn", "globalForces", "localForces"}, {"quad", "stresses", "strains"}});
        writeSample("elasticBeamColumn_globalForces", 12);
        writeSample("quad_stresses", 12);
        zor_result_read_panel* dialog = openDialog();
        QCOMPARE(comboItems(dialog->comboBox), (QStringList{"elasticBeamColumn", "quad"}));
        QCOMPARE(comboItems(dialog->comboBox_2), (QStringList{"globalForces", "localForces"}));
        QCOMPARE(dialog->columnsPerElement(), 12);
        dialog->comboBox->setCurrentIndex(1);
        QCOMPARE(comboItems(dialog->comboBox_2), (QStringList{"stresses", "strains"}));
        QCOMPARE(comboData(dialog->comboBox_3),
                 (QStringList{"Point Attribute", "Element Attribute", "Node (averaged)"}));
        // Components by name: per element node the Gauss point's three, per element all twelve.
        QCOMPARE(comboItems(dialog->componentBox), (QStringList{"σxx", "σyy", "τxy"}));
        dialog->comboBox_3->setCurrentIndex(1);
        QCOMPARE(dialog->componentBox->itemText(7), QString("σyy at Gauss point 3"));

        // A response without a sample file changes nothing.
        dialog->comboBox_3->setCurrentIndex(1);
        dialog->comboBox_2->setCurrentIndex(1);
        QCOMPARE(dialog->columnsPerElement(), 12);
        QCOMPARE(dialog->comboBox_3->currentData().toString(), QString("Element Attribute"));
        dialog->comboBox_2->setCurrentIndex(0);

        QSignalSpy spy(dialog, &zor_result_read_panel::outputReadSignal);
        dialog->comboBox_3->setCurrentIndex(1);
        dialog->componentBox->setCurrentIndex(2);
        QVERIFY(!dialog->shapeBox->isEnabled());
        dialog->valueBox->setCurrentIndex(3);
        dialog->shapeBox->setCurrentIndex(1);
        dialog->buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toStringList(),
                 (QStringList{"quad", "stresses", "Element Attribute", "12", "3", "absmax", "undeformed"}));
    }

    void attributeChoiceByDivisibility()
    {
        struct Case {
            int values;  // in the sample line, after the time
            bool typeInModel;
            QStringList choices;
            QList<int> spinMaxima;  // per choice
            bool okEnabled;
        };
        const Case cases[] = {
            // 2 nodes divide 12; averaging takes the values per node.
            {12, true, {"Point Attribute", "Element Attribute", "Node (averaged)"}, {6, 12, 6}, true},
            {7, true, {"Element Attribute", "Node (averaged)"}, {7, 7}, true},
            {12, false, {"Element Attribute"}, {12}, true},  // the type left the model
            {0, true, {"Element Attribute"}, {1}, false},    // time only
        };
        for (const Case& c : cases) {
            resetModelRecord();
            if (c.typeInModel)
                addElements("elasticBeamColumn", 2, 3);
            writeRecord({{"elasticBeamColumn", "globalForces"}});
            writeSample("elasticBeamColumn_globalForces", c.values);
            zor_result_read_panel* dialog = openDialog();
            QCOMPARE(comboData(dialog->comboBox_3), c.choices);
            for (int i = 0; i < c.spinMaxima.size(); ++i) {
                dialog->comboBox_3->setCurrentIndex(i);
                QCOMPARE(dialog->spinBox->minimum(), 1);
                QCOMPARE(dialog->spinBox->maximum(), c.spinMaxima[i]);
            }
            QCOMPARE(dialog->buttonBox->button(QDialogButtonBox::Ok)->isEnabled(), c.okEnabled);
        }
    }

    void withoutRunRecordOkGivesEmptyTexts()
    {
        QFile::remove(m_dir.filePath("OutputSetting"));
        zor_result_read_panel* dialog = openDialog();
        QVERIFY(dialog->comboBox->count() == 0 && dialog->comboBox_3->count() == 0);
        QSignalSpy spy(dialog, &zor_result_read_panel::outputReadSignal);
        dialog->buttonBox->button(QDialogButtonBox::Cancel)->click();
        QVERIFY(spy.isEmpty());
        dialog->buttonBox->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(spy.at(0).at(0).toStringList(), (QStringList{"", "", "", "0", "1", "step", "last"}));
    }

private:
    // As a moved project's record holds it: the folder it names is not where the results are now.
    void writeRecord(const QVector<QStringList>& settings)
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeRunRecord(m_dir.filePath("OutputSetting"), QString(32, 'a'), "/moved/away", settings));
    }
    void writeSample(const QString& name, int values)
    {
        QDir(m_dir.path()).mkpath("TolvaneResult");
        QFile file(m_dir.filePath("TolvaneResult/" + name + "S.file"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(sampleLine(values));
    }
    zor_result_read_panel* openDialog()
    {
        // OK deletes a dialog later by itself; the pointer notices.
        delete m_dialog;
        m_dialog = new zor_result_read_panel;
        m_dialog->loadRunRecord(m_dir.path());
        return m_dialog;
    }

    QTemporaryDir m_dir;
    QStringList m_boxes;
    QPointer<zor_result_read_panel> m_dialog;
};

QTEST_MAIN(tst_result_panels)
#include "tst_result_panels.moc"
