// Screen capture: size, pixels, a format by extension, and failures that must be reported.
#include <QImage>

#include "RenderTestSupport.h"

using namespace rendertest;

namespace {

const QColor background(20, 40, 60);
const QColor frameColor(250, 10, 10);

}  // namespace

class tst_capture : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_settings = writeSettings(m_dir.filePath("config.ini"), {{"MODELCOLOR/Background", background},
                                                                  {"MODELCOLOR/Frames", frameColor},
                                                                  {"MODELTRANSPARENCY/Frames", 5},
                                                                  {"MODELTRANSPARENCY/Points", 0},
                                                                  {"MODELTRANSPARENCY/Restraints", 0},
                                                                  {"SIZEANDWIDTH/LineWidth", 6}});
        fillPortal();
    }

    // Translucent frames must come out blended over the background, not washed out by alpha.
    void pictureIsTheOpaqueViewThreeTimesLarger()
    {
        Scene scene(m_settings, 300, 200);
        scene.drawFacing("XZ+");  // straight at the portal's beam
        scene.draw->render();
        const QString file = m_dir.filePath("portal.png");
        QString error;
        QVERIFY2(scene.draw->capture(file, &error), qPrintable(error));
        const QImage image(file);
        QCOMPARE(image.size(), QSize(900, 600));
        QVERIFY2(!image.hasAlphaChannel(), "the picture is the opaque view, not the frame buffer's alpha");
        QVERIFY2(close(image.pixel(890, 10), background, 0), "corner shows the background");
        const QColor blended((frameColor.red() + background.red()) / 2,
                             (frameColor.green() + background.green()) / 2,
                             (frameColor.blue() + background.blue()) / 2);
        const int x = image.width() / 2, frame = countInColumn(image, x, blended, 3);
        // A 6 px line is drawn 18 px wide in the 3x picture, as thick as it looks on screen,
        // and the view keeps its own width afterwards.
        QVERIFY2(frame >= 16 && frame <= 20, qPrintable(QString("frame pixels: %1").arg(frame)));
        QCOMPARE(scene.group(vtkdraw::Frames).actor->GetProperty()->GetLineWidth(), 6.0f);
        QVERIFY(countInColumn(image, x, background, 0) > 500);
        QCOMPARE(countInColumn(image, x, frameColor, 10), 0);
    }

    void formatsAndFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("magic");
        QTest::addColumn<QString>("error");  // empty when the capture must succeed
        const QString missing("no/such/folder/view.jpg");
        QTest::newRow("png") << "a.tar.png" << QByteArray("\x89PNG") << QString();
        QTest::newRow("JPG") << "b.JPG" << QByteArray("\xff\xd8\xff") << QString();
        QTest::newRow("gif") << "view.gif" << QByteArray()
                             << "Cannot save \"view.gif\": the picture type must be .png, .bmp or .jpg.";
        QTest::newRow("missing folder")
            << missing << QByteArray()
            << QString("Cannot write \"%1\".").arg(QDir::toNativeSeparators(m_dir.filePath(missing)));
    }

    void formatsAndFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, magic);
        QFETCH(QString, error);
        Scene scene(m_settings, 120, 80);
        scene.draw->drawModel();
        const QString file = m_dir.filePath(name);
        QString reported;
        QCOMPARE(scene.draw->capture(file, &reported), error.isEmpty());
        if (!error.isEmpty()) {
            QCOMPARE(reported, error);
            QVERIFY(!QFileInfo::exists(file));
            return;
        }
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(magic.size()), magic);
        const QImage image(file);
        QCOMPARE(image.size(), QSize(360, 240));
        QVERIFY(close(image.pixel(350, 5), background, magic.startsWith('\xff') ? 6 : 0));
    }

private:
    QTemporaryDir m_dir;
    QString m_settings;
};

QTEST_MAIN(tst_capture)
#include "tst_capture.moc"
