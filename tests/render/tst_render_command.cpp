// `tolvane --render` run in-process: settings handling, exit statuses, the picture itself.
#include <QtTest>

#include <QImage>

#include "BatchCommands.h"
#include "RenderScripts.h"
#include "SettingsStore.h"

using namespace rendertest;

namespace {

bool close(QRgb pixel, const QColor& c, int tolerance)
{
    return std::abs(qRed(pixel) - c.red()) <= tolerance && std::abs(qGreen(pixel) - c.green()) <= tolerance
           && std::abs(qBlue(pixel) - c.blue()) <= tolerance;
}

// Counts outside the lower-left quarter, where the axes marker draws in colours of its own.
int countPixels(const QImage& image, const QColor& c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += !(x < image.width() / 4 && y >= image.height() * 3 / 4) && close(image.pixel(x, y), c, tolerance);
    return n;
}

int countInColumn(const QImage& image, int x, const QColor& c, int tolerance)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += close(image.pixel(x, y), c, tolerance);
    return n;
}

}  // namespace

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
        RenderOptions o;
        o.script = m_script;
        o.output = m_dir.filePath("out/portal.png");
        o.view = "XZ+";
        o.size = QSize(300, 200);
        QCOMPARE(renderMain(o), 0);
        QVERIFY(QFileInfo(m_settings).isFile());
        QCOMPARE(SettingsStore::color(m_settings, "MODELCOLOR/Frames"), QColor(0, 0, 255));

        const QImage image(o.output);
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY(close(image.pixel(890, 5), QColor(255, 255, 255), 0));
        // Default frames: blue at opacity 0.5 over white.
        const int frame = countInColumn(image, image.width() / 2, QColor(128, 128, 255), 3);
        QVERIFY2(frame >= 5, qPrintable(QString::number(frame)));
        QCOMPARE(countPixels(image, QColor(0, 0, 255), 20), 0);
    }

    void existingSettingsAreUsedAsTheyAre()
    {
        SettingsStore::writeDefaults(m_settings);
        {
            QSettings s(m_settings, QSettings::IniFormat);
            s.setValue("MODELCOLOR/Background", QColor(20, 40, 60));
            s.remove("MODELCOLOR/Frames");  // drawn black, and not repaired
            s.setValue("MODELTRANSPARENCY/Frames", 10);
        }
        RenderOptions o;
        o.script = m_script;
        o.output = m_dir.filePath("out/dark.bmp");
        o.view = "XZ-";
        o.size = QSize(200, 150);
        QCOMPARE(renderMain(o), 0);
        QVERIFY(!QSettings(m_settings, QSettings::IniFormat).contains("MODELCOLOR/Frames"));
        const QImage image(o.output);
        QCOMPARE(image.size(), QSize(600, 450));
        QVERIFY(close(image.pixel(590, 5), QColor(20, 40, 60), 0));
        QVERIFY(countInColumn(image, image.width() / 2, QColor(0, 0, 0), 2) >= 3);
    }

    void elementLabelsAreDrawnInTheirColour()
    {
        SettingsStore::writeDefaults(m_settings);
        {
            QSettings s(m_settings, QSettings::IniFormat);
            s.setValue("LABELCOLOR/Elements", QColor(255, 0, 255));
            s.setValue("SIZEANDWIDTH/LabelSize", 30);
        }
        RenderOptions o;
        o.script = m_script;
        o.output = m_dir.filePath("out/plain.png");
        o.view = "XZ+";
        o.size = QSize(300, 200);
        QCOMPARE(renderMain(o), 0);
        QCOMPARE(countPixels(QImage(o.output), QColor(255, 0, 255), 40), 0);

        o.output = m_dir.filePath("out/labels.png");
        o.labels = QStringList{"elements"};
        QCOMPARE(renderMain(o), 0);
        const int magenta = countPixels(QImage(o.output), QColor(255, 0, 255), 40);
        QVERIFY2(magenta > 30, qPrintable(QString::number(magenta)));
    }

    void scriptErrorStillWritesThePicture()
    {
        QVERIFY(writeFile(m_script, QByteArray(portalScript()) + "error {bad input}\nnode 5 9 9 9\n"));
        RenderOptions o;
        o.script = m_script;
        o.output = m_dir.filePath("out/broken.png");
        o.view = "XZ+";
        o.size = QSize(300, 200);
        QCOMPARE(renderMain(o), 1);
        const QImage image(o.output);
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY2(countInColumn(image, image.width() / 2, QColor(128, 128, 255), 3) >= 5,
                 "what was recorded before the error is drawn");
    }

    void nothingWrittenGivesTwo()
    {
        RenderOptions o;
        o.script = m_dir.filePath("model/missing.tcl");
        o.output = m_dir.filePath("out/missing.png");
        QCOMPARE(renderMain(o), 2);
        QVERIFY(!QFileInfo::exists(o.output));

        o.script = m_script;
        o.output = m_dir.filePath("out/portal.gif");
        QCOMPARE(renderMain(o), 2);
        QVERIFY(!QFileInfo::exists(o.output));

        o.output = m_dir.filePath("out/no/such/folder/portal.png");
        QCOMPARE(renderMain(o), 2);
        QVERIFY(!QFileInfo::exists(o.output));
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
        QVERIFY(QFileInfo::exists(m_dir.filePath("out/relative.jpg")));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("model/relative.jpg")));
        QCOMPARE(QImage(m_dir.filePath("out/relative.jpg")).size(), QSize(300, 300));
    }

private:
    QTemporaryDir m_dir;
    QString m_startDir;
    QString m_settings;
    QString m_script;
};

QTEST_MAIN(tst_render_command)
#include "tst_render_command.moc"
