// The picture format of a capture follows the file name's last extension, in any case.
#include <QtTest>

#include "CaptureFormat.h"

Q_DECLARE_METATYPE(CaptureFormat)

class tst_capture_format : public QObject {
    Q_OBJECT
private slots:
    void format_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<CaptureFormat>("format");
        QTest::newRow("PNG") << "view.PNG" << CaptureFormat::Png;
        QTest::newRow("jpeg") << "view.jpeg" << CaptureFormat::Jpeg;
        QTest::newRow("JPEG") << "/tmp/view.JPEG" << CaptureFormat::Jpeg;
        QTest::newRow("several dots") << "frame.v2.tar.png" << CaptureFormat::Png;
        QTest::newRow("last part decides") << "frame.png.gif" << CaptureFormat::Unsupported;
        QTest::newRow("dot only in folder") << "/tmp/shots.png/view" << CaptureFormat::Unsupported;
        QTest::newRow("trailing dot") << "view." << CaptureFormat::Unsupported;
    }
    void format()
    {
        QFETCH(QString, name);
        QFETCH(CaptureFormat, format);
        QCOMPARE(captureFormatFor(name), format);
    }
};

QTEST_GUILESS_MAIN(tst_capture_format)
#include "tst_capture_format.moc"
