// The settings file and the options dialog: defaults, load/save round trips,
// Apply/OK/Cancel, and the unwritable-file report.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "SettingsStore.h"
#include "zor_options_panel.h"

namespace {

struct ExpectedColor {
    const char* key;
    QColor color;
};

const ExpectedColor kDefaultColors[] = {
    {"MODELCOLOR/Points", QColor(128, 128, 128)}, {"MODELCOLOR/Restraints", QColor(0, 255, 0)},
    {"MODELCOLOR/Frames", QColor(0, 0, 255)},     {"MODELCOLOR/AreaFace", QColor(255, 128, 255)},
    {"MODELCOLOR/AreaEdge", QColor(128, 0, 0)},   {"MODELCOLOR/SolidFace", QColor(255, 128, 255)},
    {"MODELCOLOR/SolidEdge", QColor(128, 0, 0)},  {"MODELCOLOR/Background", QColor(255, 255, 255)},
    {"MODELCOLOR/Scalars", QColor(0, 0, 0)},      {"MODELCOLOR/EqualDOF", QColor(87, 171, 193)},
    {"MODELCOLOR/RigidLink", QColor(234, 32, 0)}, {"LABELCOLOR/Points", QColor(128, 128, 128)},
    {"LABELCOLOR/Restraints", QColor(0, 255, 0)}, {"LABELCOLOR/Elements", QColor(0, 0, 255)},
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QDialogButtonBox* buttonBoxOf(QDialog* d)
{
    return d->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("config.ini")); }

private slots:
    void init()
    {
        QFile::remove(path());
        zor_options_panel::warningProvider = [](QWidget*, const QString& title, const QString& text) {
            QFAIL(qPrintable(QStringLiteral("unexpected warning: %1: %2").arg(title, text)));
        };
    }

    void missingFileGetsEveryDefault()
    {
        QPointer<zor_options_panel> panel = new zor_options_panel(path());
        QVERIFY(QFile::exists(path()));
        QSettings s(path(), QSettings::IniFormat);
        QCOMPARE(s.childGroups(),
                 QStringList({"EXEPATH", "LABELCOLOR", "MODELCOLOR", "MODELTRANSPARENCY", "SIZEANDWIDTH"}));
        QVERIFY(!s.value("EXEPATH/OSPath").toString().isEmpty());
        for (const ExpectedColor& e : kDefaultColors) {
            const QVariant v = s.value(QLatin1String(e.key));
            QCOMPARE(v.userType(), int(QMetaType::QColor));  // stored as a colour, not text
            QCOMPARE(v.value<QColor>(), e.color);
        }
        for (const QString& key : SettingsStore::modelTransparencyKeys)
            QCOMPARE(s.value("MODELTRANSPARENCY/" + key).toInt(), 5);
        QCOMPARE(s.value("SIZEANDWIDTH/PointSize").toInt(), 5);
        QCOMPARE(s.value("SIZEANDWIDTH/LineWidth").toInt(), 5);
        QCOMPARE(s.value("SIZEANDWIDTH/LabelSize").toInt(), 20);
        s.beginGroup("MODELTRANSPARENCY");
        QCOMPARE(s.childKeys().size(), 9);
        s.endGroup();
        QCOMPARE(SettingsStore::opacity(path(), "MODELTRANSPARENCY/Frames"), 0.5);
        delete panel;
    }

    void dialogShowsAndStoresDefaultsForMissingKeys_data()
    {
        QTest::addColumn<bool>("fileExists");  // false: deleted while the application runs
        QTest::newRow("file deleted") << false;
        QTest::newRow("keys missing from the file") << true;
    }

    void dialogShowsAndStoresDefaultsForMissingKeys()
    {
        QFETCH(bool, fileExists);
        if (fileExists)
            QSettings(path(), QSettings::IniFormat).setValue("SIZEANDWIDTH/LabelSize", 35);
        auto* panel = new zor_options_panel(path());
        panel->show();
        QCOMPARE(panel->findChild<QLineEdit*>("lineEdit")->text(), SettingsStore::defaultSolverPath());
        QCOMPARE(panel->findChild<QComboBox*>("comboBox_8")->currentText(), QStringLiteral("5"));
        QCOMPARE(panel->findChild<QComboBox*>("comboBox_10")->currentText(), fileExists ? "35" : "20");
        QCOMPARE(panel->findChild<QComboBox*>("comboBox_3")->currentText(), QStringLiteral("0.5"));
        QCOMPARE(panel->findChild<QFrame*>("frame_3")->palette().color(QPalette::Window), QColor(0, 0, 255));
        buttonBoxOf(panel)->button(QDialogButtonBox::Ok)->click();

        for (const ExpectedColor& e : kDefaultColors)
            QCOMPARE(SettingsStore::color(path(), QLatin1String(e.key)), e.color);
        for (const QString& key : SettingsStore::modelTransparencyKeys)
            QCOMPARE(SettingsStore::opacity(path(), "MODELTRANSPARENCY/" + key), 0.5);
        QCOMPARE(SettingsStore::integer(path(), "SIZEANDWIDTH/PointSize"), 5);
        QCOMPARE(SettingsStore::integer(path(), "SIZEANDWIDTH/LabelSize"), fileExists ? 35 : 20);
        QCOMPARE(SettingsStore::solverPath(path()), SettingsStore::defaultSolverPath());
    }

    void existingFileIsNeverRepaired()
    {
        {
            QSettings s(path(), QSettings::IniFormat);
            s.setValue("SIZEANDWIDTH/PointSize", 7);
        }
        const QByteArray before = readAll(path());
        delete new zor_options_panel(path());
        QCOMPARE(readAll(path()), before);
        QVERIFY(!SettingsStore::color(path(), "MODELCOLOR/Frames").isValid());
        QCOMPARE(SettingsStore::opacity(path(), "MODELTRANSPARENCY/Frames"), 0.0);
    }

    void sizesOutsideTheEntriesKeepTheFirstEntry_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("7 is offered") << 7 << "7";
        QTest::newRow("25 is not") << 25 << "20";
        QTest::newRow("1 is the last entry") << 1 << "1";
    }

    void sizesOutsideTheEntriesKeepTheFirstEntry()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        SettingsStore::writeDefaults(path());
        QSettings(path(), QSettings::IniFormat).setValue("SIZEANDWIDTH/PointSize", stored);
        zor_options_panel panel(path());
        QCOMPARE(panel.findChild<QComboBox*>("comboBox_8")->currentText(), shown);
    }

    void comboEntriesAndTransparencyMapping()
    {
        SettingsStore::writeDefaults(path());
        {
            QSettings s(path(), QSettings::IniFormat);
            s.setValue("MODELTRANSPARENCY/EqualDOF", 10);
            s.setValue("MODELTRANSPARENCY/Points", 0);
        }
        zor_options_panel panel(path());
        auto* label = panel.findChild<QComboBox*>("comboBox_10");
        QCOMPARE(label->count(), 10);
        QCOMPARE(label->itemText(0), QStringLiteral("50"));
        QCOMPARE(label->itemText(9), QStringLiteral("5"));
        QCOMPARE(label->currentText(), QStringLiteral("20"));
        auto* points = panel.findChild<QComboBox*>("comboBox");
        QCOMPARE(points->count(), 11);
        QCOMPARE(points->itemText(0), QStringLiteral("1.0"));
        QCOMPARE(points->itemText(3), QStringLiteral("0.7"));
        QCOMPARE(points->itemText(10), QStringLiteral("0.0"));
        QCOMPARE(points->currentText(), QStringLiteral("1.0"));  // step 0: invisible
        QCOMPARE(panel.findChild<QComboBox*>("comboBox_11")->currentText(), QStringLiteral("0.0"));
        QCOMPARE(panel.findChild<QComboBox*>("comboBox_12")->currentText(), QStringLiteral("0.5"));
    }

    void applyWritesAndStaysOpenOkClosesCancelKeepsApply()
    {
        SettingsStore::writeDefaults(path());
        QPointer<zor_options_panel> panel = new zor_options_panel(path());
        panel->show();
        QSignalSpy changed(panel.data(), &zor_options_panel::configChanged);
        panel->findChild<QComboBox*>("comboBox_3")->setCurrentIndex(10);
        panel->findChild<QLineEdit*>("lineEdit")->setText("/opt/solver/OpenSees");
        zor_options_panel::colorProvider = [](QWidget*) { return QColor(10, 20, 30); };
        panel->findChild<QPushButton*>("pushButton_8")->click();  // Background

        buttonBoxOf(panel)->button(QDialogButtonBox::Apply)->click();
        QCOMPARE(changed.count(), 1);
        QVERIFY(panel->isVisible());
        QCOMPARE(SettingsStore::integer(path(), "MODELTRANSPARENCY/Frames"), 10);
        QCOMPARE(SettingsStore::color(path(), "MODELCOLOR/Background"), QColor(10, 20, 30));
        QCOMPARE(SettingsStore::solverPath(path()), QStringLiteral("/opt/solver/OpenSees"));
        QCOMPARE(QSettings(path(), QSettings::IniFormat).value("SIZEANDWIDTH/PointSize").toString(),
                 QStringLiteral("5"));

        // A cancelled colour dialog changes nothing.
        zor_options_panel::colorProvider = [](QWidget*) { return QColor(); };
        panel->findChild<QPushButton*>("pushButton_8")->click();
        panel->findChild<QComboBox*>("comboBox_3")->setCurrentIndex(2);
        buttonBoxOf(panel)->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(SettingsStore::integer(path(), "MODELTRANSPARENCY/Frames"), 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());  // deletes itself on close

        panel = new zor_options_panel(path());
        panel->show();
        QSignalSpy changed2(panel.data(), &zor_options_panel::configChanged);
        QCOMPARE(panel->findChild<QComboBox*>("comboBox_3")->currentIndex(), 10);
        QCOMPARE(panel->findChild<QFrame*>("frame_8")->palette().color(QPalette::Window), QColor(10, 20, 30));
        panel->findChild<QComboBox*>("comboBox_9")->setCurrentText("12");
        buttonBoxOf(panel)->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(changed2.count(), 1);
        QCOMPARE(SettingsStore::integer(path(), "SIZEANDWIDTH/LineWidth"), 12);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());
    }

    void browseOffersEveryFileAndKeepsCancelledPath()
    {
        SettingsStore::writeDefaults(path());
        zor_options_panel panel(path());
        QString seenCaption, seenFilter;
        QString answer = "/usr/local/bin/OpenSees";
        zor_options_panel::openFileNameProvider = [&](QWidget*, const QString& caption, const QString& dir,
                                                      const QString& filter) {
            seenCaption = caption;
            seenFilter = filter;
            Q_UNUSED(dir);
            return answer;
        };
        panel.findChild<QPushButton*>("pushButton_9")->click();
        QCOMPARE(seenCaption, QStringLiteral("Open File..."));
        QCOMPARE(seenFilter, QStringLiteral("All Files (*)"));
        QCOMPARE(panel.findChild<QLineEdit*>("lineEdit")->text(), answer);
        answer.clear();
        panel.findChild<QPushButton*>("pushButton_9")->click();
        QCOMPARE(panel.findChild<QLineEdit*>("lineEdit")->text(), QStringLiteral("/usr/local/bin/OpenSees"));
    }

    void unwritableFileIsReported()
    {
        QFile blocker(dir.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString badPath = dir.filePath("not-a-folder/config.ini");
        QString warned;
        zor_options_panel::warningProvider = [&](QWidget*, const QString&, const QString& text) {
            warned = text;
        };
        zor_options_panel panel(badPath);
        QVERIFY2(warned.contains(badPath), qPrintable(warned));
        warned.clear();
        buttonBoxOf(&panel)->button(QDialogButtonBox::Apply)->click();
        QVERIFY(warned.contains(badPath));
    }

    void tabsAndTitles()
    {
        zor_options_panel panel(path());
        auto* tabs = panel.findChild<QTabWidget*>("tabWidget");
        QCOMPARE(panel.windowTitle(), QStringLiteral("Options"));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Environment"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Display"));
        // The dialog fits the tab in front, both ways.
        panel.show();
        QCoreApplication::processEvents();
        const int environmentHeight = panel.height();
        tabs->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QVERIFY2(panel.height() > environmentHeight + 150,
                 qPrintable(QString("%1 vs %2").arg(panel.height()).arg(environmentHeight)));
        tabs->setCurrentIndex(0);
        QCoreApplication::processEvents();
        QCOMPARE(panel.height(), environmentHeight);
        const QStringList colorButtons = {"pushButton",    "pushButton_2",  "pushButton_3",  "pushButton_4",
                                          "pushButton_5",  "pushButton_6",  "pushButton_7",  "pushButton_8",
                                          "pushButton_10", "pushButton_11", "pushButton_12", "pushButton_13",
                                          "pushButton_14", "pushButton_15"};
        for (const QString& name : colorButtons)
            QVERIFY2(panel.findChild<QPushButton*>(name), qPrintable(name));
        QCOMPARE(panel.findChild<QPushButton*>("pushButton_13")->text(), QStringLiteral("Scalars"));
        QCOMPARE(panel.findChild<QPushButton*>("pushButton_12")->text(), QStringLiteral("Elements"));
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
