// `tolvane --render` run in-process: settings handling, exit statuses, the picture itself.
#include "BatchCommands.h"
#include "RenderTestSupport.h"
#include "SettingsStore.h"

using namespace rendertest;

class tst_render_command : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_startDir = QDir::currentPath();
        m_settings = SettingsStore::settingsFilePath();
    }
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath("model");
        QDir(m_dir.path()).mkpath("out");
        m_script = m_dir.filePath("model/portal.tcl");
        QVERIFY(writeFile(m_script, portalScript()));
        QFile::remove(m_settings);
    }
    void cleanup()
    {
        QDir::setCurrent(m_startDir);
        QFile::remove(m_settings);
    }

    void missingSettingsAreWrittenWithDefaults()
    {
        const RenderOptions o = options("portal.png", "XZ+");
        QCOMPARE(renderMain(o), 0);
        QCOMPARE(SettingsStore::color(m_settings, "MODELCOLOR/Frames"), QColor(0, 0, 255));
        const QImage image(o.output);
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY(close(image.pixel(890, 5), Qt::white, 0));
        // Default frames: blue at opacity 0.5 over white.
        const int frame = countInColumn(image, image.width() / 2, QColor(128, 128, 255), 3);
        QVERIFY2(frame >= 5, qPrintable(QString::number(frame)));
        QCOMPARE(countOutsideMarker(image, QColor(0, 0, 255), 20), 0);
    }

    void existingSettingsAreUsedAsTheyAre()
    {
        writeSettings(m_settings, {{"MODELCOLOR/Background", QColor(20, 40, 60)},
                                   {"MODELCOLOR/Frames", QVariant()},  // drawn in its default, not repaired
                                   {"MODELTRANSPARENCY/Frames", 10},
                                   {"LABELCOLOR/Elements", QColor(255, 0, 255)},
                                   {"SIZEANDWIDTH/LabelSize", 30}});
        RenderOptions o = options("dark.bmp", "XZ-", QSize(200, 150));
        QCOMPARE(renderMain(o), 0);
        QVERIFY(!QSettings(m_settings, QSettings::IniFormat).contains("MODELCOLOR/Frames"));
        QImage image(o.output);
        QCOMPARE(image.size(), QSize(600, 450));
        QVERIFY(close(image.pixel(590, 5), QColor(20, 40, 60), 0));
        QVERIFY(countInColumn(image, image.width() / 2, QColor(0, 0, 255), 2) >= 3);
        QCOMPARE(countOutsideMarker(image, QColor(255, 0, 255), 40), 0);

        o.output = m_dir.filePath("out/labels.png");
        o.labels = QStringList{"elements"};
        QCOMPARE(renderMain(o), 0);
        const int magenta = countOutsideMarker(QImage(o.output), QColor(255, 0, 255), 40);
        QVERIFY2(magenta > 30, qPrintable(QString("element label pixels: %1").arg(magenta)));
    }

    void scriptErrorStillWritesThePicture()
    {
        QVERIFY(writeFile(m_script, QByteArray(portalScript()) + "error {bad input}\nnode 5 9 9 9\n"));
        const RenderOptions o = options("broken.png", "XZ+");
        QCOMPARE(renderMain(o), 1);
        QVERIFY2(countInColumn(QImage(o.output), 450, QColor(128, 128, 255), 3) >= 5,
                 "what was recorded before the error is drawn");
    }

    // The script's evaluation moves into its folder; a relative IMAGE still means the caller's.
    void relativeOutputIsTheCallersFolder()
    {
        QDir::setCurrent(m_dir.filePath("out"));
        RenderOptions o;
        o.script = "../model/portal.tcl";
        o.output = "relative.jpg";
        o.size = QSize(100, 100);
        QCOMPARE(renderMain(o), 0);
        QVERIFY(!QFileInfo::exists(m_dir.filePath("model/relative.jpg")));
        QCOMPARE(QImage(m_dir.filePath("out/relative.jpg")).size(), QSize(300, 300));
    }

private:
    RenderOptions options(const QString& output, const QString& view, const QSize& size = QSize(300, 200))
    {
        RenderOptions o;
        o.script = m_script;
        o.output = m_dir.filePath("out/" + output);
        o.view = view;
        o.size = size;
        return o;
    }

    QTemporaryDir m_dir;
    QString m_startDir;
    QString m_settings;
    QString m_script;
};

QTEST_MAIN(tst_render_command)
#include "tst_render_command.moc"
