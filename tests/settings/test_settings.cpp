// The settings file and the options dialog: defaults, load/save round trips,
// Apply/OK/Cancel, and the unwritable-file report.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

#include "SettingsStore.h"
#include "zor_options_panel.h"

namespace {

struct ColorKey {
    const char* key;
    QColor byDefault;
    const char* button;
};

// Model colours, the last one added among them, and a label colour; the rest share the code path.
const ColorKey kColorKeys[] = {{"MODELCOLOR/Background", QColor(255, 255, 255), "pushButton_8"},
                               {"MODELCOLOR/RigidLink", QColor(234, 32, 0), "pushButton_15"},
                               {"LABELCOLOR/Elements", QColor(0, 0, 255), "pushButton_12"}};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename T>
T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

void click(QWidget* panel, QDialogButtonBox::StandardButton which)
{
    child<QDialogButtonBox>(panel, "buttonBox")->button(which)->click();
}

// The keys of the file hold their defaults, colours stored as colours, and there are no others.
void expectDefaults(const QString& path, int labelSize)
{
    const QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.allKeys().size(), 2 + 14 + 9 + 3);
    QCOMPARE(SettingsStore::solverPath(path), SettingsStore::defaultSolverPath());
    QVERIFY(!SettingsStore::trustScripts(path));
    for (const QString& key : s.allKeys())
        QVERIFY2(!key.contains("COLOR/") || s.value(key).userType() == int(QMetaType::QColor),
                 qPrintable(key));
    for (const ColorKey& c : kColorKeys)
        QCOMPARE(SettingsStore::color(path, QLatin1String(c.key)), c.byDefault);
    QCOMPARE(SettingsStore::opacity(path, "MODELTRANSPARENCY/Frames"), 0.5);
    QCOMPARE(SettingsStore::integer(path, "SIZEANDWIDTH/PointSize"), 5);
    QCOMPARE(SettingsStore::integer(path, "SIZEANDWIDTH/LabelSize"), labelSize);
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

    void dialogShowsAndStoresDefaultsForMissingKeys_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("missing file, or deleted while the application runs") << false;
        QTest::newRow("a partial file, written by hand") << true;
    }

    void dialogShowsAndStoresDefaultsForMissingKeys()
    {
        QFETCH(bool, fileExists);
        QFile file(path());
        // As an administrator writes it by hand: the solver path, and values no key can hold.
        if (fileExists && file.open(QIODevice::WriteOnly))
            file.write("[EXEPATH]\nOSPath=" + SettingsStore::defaultSolverPath().toUtf8() +
                       "\n[MODELCOLOR]\nFrames=not a colour\nPoints=#ff8000\n[MODELTRANSPARENCY]\nFrames=abc\n"
                       "Points=15\n[SIZEANDWIDTH]\nPointSize=0\nLabelSize=35\n");
        file.close();
        const QByteArray before = readAll(path());
        auto* panel = new zor_options_panel(path());
        if (fileExists) {
            // An existing file is never repaired; what it lacks or cannot hold reads as the default,
            // and the dialog shows what is drawn.
            QCOMPARE(readAll(path()), before);
            QCOMPARE(SettingsStore::color(path(), "MODELCOLOR/Frames"), QColor(0, 0, 255));
            QCOMPARE(SettingsStore::color(path(), "MODELCOLOR/Points"), QColor(255, 128, 0));
            QCOMPARE(SettingsStore::opacity(path(), "MODELTRANSPARENCY/Points"), 0.5);
            QCOMPARE(SettingsStore::integer(path(), "SIZEANDWIDTH/PointSize"), 5);
            QCOMPARE(child<QComboBox>(panel, "comboBox_3")->currentText(), QStringLiteral("0.5"));
        } else {
            expectDefaults(path(), 20);
        }
        // OK stores what the controls show: the defaults of the missing keys.
        click(panel, QDialogButtonBox::Ok);
        expectDefaults(path(), fileExists ? 35 : 20);
    }

    void comboShowsTheStoredEntry_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("combo");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("entries");
        const auto row = [](const char* name, const char* key, int stored, const char* combo,
                            const char* shown, int entries) {
            QTest::newRow(name) << key << stored << combo << shown << entries;
        };
        // A size that is not offered keeps the first entry.
        row("point size 25 is not", "SIZEANDWIDTH/PointSize", 25, "comboBox_8", "20", 20);
        row("label size 7 is not offered", "SIZEANDWIDTH/LabelSize", 7, "comboBox_10", "50", 10);
        // A transparency step is the index of the opacity shown.
        row("step 10: invisible equalDOF", "MODELTRANSPARENCY/EqualDOF", 10, "comboBox_11", "0.0", 11);
    }

    void comboShowsTheStoredEntry()
    {
        QFETCH(QString, key);
        QFETCH(int, stored);
        QFETCH(QString, combo);
        QFETCH(QString, shown);
        QFETCH(int, entries);
        SettingsStore::writeDefaults(path());
        QSettings(path(), QSettings::IniFormat).setValue(key, stored);
        zor_options_panel panel(path());
        auto* box = panel.findChild<QComboBox*>(combo);
        QCOMPARE(box->currentText(), shown);
        QCOMPARE(box->count(), entries);
    }

    // Browse too: the path it sets is stored.
    void applyWritesAndStaysOpenOkClosesCancelKeepsApply()
    {
        SettingsStore::writeDefaults(path());
        QPointer<zor_options_panel> panel = new zor_options_panel(path());
        panel->show();
        QSignalSpy changed(panel.data(), &zor_options_panel::configChanged);
        child<QComboBox>(panel, "comboBox_3")->setCurrentIndex(10);
        // Browse offers every file; a cancelled choice keeps the path.
        QStringList asked;  // filters
        QString answer = "/opt/solver/OpenSees";
        zor_options_panel::openFileNameProvider = [&](QWidget*, const QString&, const QString&,
                                                      const QString& filter) {
            asked << filter;
            return std::exchange(answer, QString());
        };
        child<QPushButton>(panel, "pushButton_9")->click();
        child<QPushButton>(panel, "pushButton_9")->click();
        QCOMPARE(asked, QStringList({"All Files (*)", "All Files (*)"}));
        QCOMPARE(child<QLineEdit>(panel, "lineEdit")->text(), QStringLiteral("/opt/solver/OpenSees"));
        child<QCheckBox>(panel, "checkBoxTrustScripts")->click();
        // Each colour button sets its own key.
        int shade = 0;
        zor_options_panel::colorProvider = [&shade](QWidget*) { return QColor(shade, 20, 30); };
        for (const ColorKey& c : kColorKeys) {
            QVERIFY2(child<QPushButton>(panel, c.button), c.button);
            shade += 10;
            child<QPushButton>(panel, c.button)->click();
        }
        click(panel, QDialogButtonBox::Apply);
        QCOMPARE(changed.count(), 1);
        QVERIFY(panel->isVisible());
        shade = 0;
        for (const ColorKey& c : kColorKeys)
            QCOMPARE(SettingsStore::color(path(), QLatin1String(c.key)), QColor(shade += 10, 20, 30));
        QCOMPARE(SettingsStore::integer(path(), "MODELTRANSPARENCY/Frames"), 10);
        QCOMPARE(SettingsStore::solverPath(path()), QStringLiteral("/opt/solver/OpenSees"));
        QVERIFY(SettingsStore::trustScripts(path()));

        // A cancelled colour dialog changes nothing; Cancel stores nothing.
        zor_options_panel::colorProvider = [](QWidget*) { return QColor(); };
        child<QPushButton>(panel, "pushButton_8")->click();
        QCOMPARE(child<QFrame>(panel, "frame_8")->palette().color(QPalette::Window), QColor(10, 20, 30));
        child<QComboBox>(panel, "comboBox_3")->setCurrentIndex(2);
        click(panel, QDialogButtonBox::Cancel);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(SettingsStore::integer(path(), "MODELTRANSPARENCY/Frames"), 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());  // deletes itself on close

        panel = new zor_options_panel(path());
        panel->show();
        QSignalSpy changed2(panel.data(), &zor_options_panel::configChanged);
        QCOMPARE(child<QComboBox>(panel, "comboBox_3")->currentIndex(), 10);
        QCOMPARE(child<QFrame>(panel, "frame_8")->palette().color(QPalette::Window), QColor(10, 20, 30));
        child<QComboBox>(panel, "comboBox_9")->setCurrentText("12");
        click(panel, QDialogButtonBox::Ok);
        QCOMPARE(changed2.count(), 1);
        QCOMPARE(SettingsStore::integer(path(), "SIZEANDWIDTH/LineWidth"), 12);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(panel.isNull());
    }

    void unwritableFileIsReported()
    {
        QFile blocker(dir.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString badPath = dir.filePath("not-a-folder/config.ini");
        QStringList warned;
        zor_options_panel::warningProvider = [&](QWidget*, const QString& title, const QString& text) {
            warned << title << text;
        };
        zor_options_panel panel(badPath);
        click(&panel, QDialogButtonBox::Apply);
        const QString text = QStringLiteral("The settings file \"%1\" could not be written.").arg(badPath);
        QCOMPARE(warned, QStringList({"Options", text, "Options", text}));
    }
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
