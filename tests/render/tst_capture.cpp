// Screen capture: size, pixels, formats by extension, and failures that must be reported.
#include <QtTest>

#include <QImage>

#include <vtkRenderWindow.h>

#include "ModelRecord.h"
#include "OffscreenSnapshot.h"
#include "RenderTestSupport.h"
#include "vtkdraw.h"

using namespace rendertest;

namespace {

const QColor background(20, 40, 60);
const QColor frameColor(250, 10, 10);

QByteArray head(const QString& path, int n)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

bool close(QRgb pixel, const QColor& c, int tolerance)
{
    return std::abs(qRed(pixel) - c.red()) <= tolerance && std::abs(qGreen(pixel) - c.green()) <= tolerance
           && std::abs(qBlue(pixel) - c.blue()) <= tolerance;
}

}  // namespace

class tst_capture : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.path(), [](QSettings& s) {
            s.setValue("MODELCOLOR/Background", background);
            s.setValue("MODELCOLOR/Frames", frameColor);
            s.setValue("MODELTRANSPARENCY/Frames", 5);
            s.setValue("MODELTRANSPARENCY/Points", 0);
            s.setValue("MODELTRANSPARENCY/Restraints", 0);
            s.setValue("SIZEANDWIDTH/LineWidth", 6);
        });
        fillPortal();
    }

    void pictureIsThreeTimesTheView()
    {
        Scene scene(m_settings, 300, 200);
        scene.draw->drawModel();
        const QString file = m_dir.filePath("portal.png");
        QString error;
        QVERIFY2(scene.draw->capture(file, &error), qPrintable(error));
        QImage image(file);
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY2(close(image.pixel(890, 10), background, 0), "corner shows the background");
        QVERIFY2(!image.hasAlphaChannel(), "the picture is the opaque view, not the frame buffer's alpha");

        // Straight through the middle of the portal's beam (the XZ view looks at it).
        scene.draw->setView("XZ+");
        scene.draw->resetCamera();
        scene.draw->render();
        QVERIFY(scene.draw->capture(file));
        image = QImage(file);
        const QColor blended((frameColor.red() + background.red()) / 2, (frameColor.green() + background.green()) / 2,
                             (frameColor.blue() + background.blue()) / 2);
        int framePixels = 0, backgroundPixels = 0, opaqueFramePixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb p = image.pixel(image.width() / 2, y);
            framePixels += close(p, blended, 3);
            backgroundPixels += close(p, background, 0);
            opaqueFramePixels += close(p, frameColor, 10);
        }
        QVERIFY2(framePixels >= 6, qPrintable(QString("frame pixels: %1").arg(framePixels)));
        QVERIFY2(backgroundPixels > 500, qPrintable(QString("background pixels: %1").arg(backgroundPixels)));
        QCOMPARE(opaqueFramePixels, 0);
    }

    void emptySceneShowsOnlyTheAxesMarker()
    {
        resetModelRecord();
        Scene scene(m_settings, 300, 200);
        scene.draw->drawModel();
        const QString file = m_dir.filePath("empty.png");
        QVERIFY(scene.draw->capture(file));
        const QImage image(file);
        int markerPixels = 0, strayPixels = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool inMarker = x < image.width() / 4 && y >= image.height() * 3 / 4;
                const bool isBackground = close(image.pixel(x, y), background, 0);
                if (inMarker)
                    markerPixels += !isBackground;
                else
                    strayPixels += !isBackground;
            }
        }
        QVERIFY2(markerPixels > 200, qPrintable(QString::number(markerPixels)));
        QCOMPARE(strayPixels, 0);
    }

    void formatsByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("png") << "a.png" << QByteArray("\x89PNG");
        QTest::newRow("PNG") << "a.PNG" << QByteArray("\x89PNG");
        QTest::newRow("several dots") << "a.tar.png" << QByteArray("\x89PNG");
        QTest::newRow("bmp") << "a.bmp" << QByteArray("BM");
        QTest::newRow("jpg") << "a.jpg" << QByteArray("\xff\xd8\xff");
        QTest::newRow("jpeg") << "a.jpeg" << QByteArray("\xff\xd8\xff");
        QTest::newRow("JPG") << "b.JPG" << QByteArray("\xff\xd8\xff");
    }

    void formatsByExtension()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, magic);
        Scene scene(m_settings, 120, 80);
        scene.draw->drawModel();
        const QString file = m_dir.filePath(name);
        QString error;
        QVERIFY2(scene.draw->capture(file, &error), qPrintable(error));
        QCOMPARE(head(file, magic.size()), magic);
        const QImage image(file);
        QCOMPARE(image.size(), QSize(360, 240));
        QVERIFY(close(image.pixel(350, 5), background, name.contains("jp", Qt::CaseInsensitive) ? 6 : 0));
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("gif") << "view.gif" << "type";
        QTest::newRow("no extension") << "view" << "type";
        QTest::newRow("tiff") << "view.tiff" << "type";
        QTest::newRow("missing folder") << "no/such/folder/view.png" << "write";
        QTest::newRow("missing folder jpg") << "no/such/folder/view.jpg" << "write";
    }

    void failuresAreReported()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Scene scene(m_settings, 120, 80);
        scene.draw->drawModel();
        const QString file = m_dir.filePath(name);
        QString error;
        QVERIFY(!scene.draw->capture(file, &error));
        QVERIFY2(error.contains(reason) && error.contains(QFileInfo(file).fileName()), qPrintable(error));
        QVERIFY(!QFileInfo::exists(file));
    }

    void snapshotDrawsWithTheGivenSizeViewAndLabels()
    {
        SnapshotOptions options;
        options.size = QSize(200, 150);
        options.view = "XY+";
        options.labels = QStringList{"elements"};
        const QString file = m_dir.filePath("snap.png");
        QString error;
        QVERIFY2(renderSnapshot(m_settings, file, options, &error), qPrintable(error));
        QCOMPARE(QImage(file).size(), QSize(600, 450));

        QVERIFY(!renderSnapshot(m_settings, m_dir.filePath("snap.gif"), options, &error));
        QVERIFY(error.contains("snap.gif"));
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_capture)
#include "tst_capture.moc"
