// Checks that every icon the main window names is compiled into the program as a real drawing.
#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QtTest>

namespace {

const QStringList& iconNames()
{
    static const QStringList names = {"Open",
                                      "Run",
                                      "Load",
                                      "Stop",
                                      "Modes",
                                      "XYViewPos",
                                      "XYViewNeg",
                                      "XZViewPos",
                                      "XZViewNeg",
                                      "YZViewPos",
                                      "YZViewNeg",
                                      "Perspective",
                                      "XYZDefaultView",
                                      "Screenshot",
                                      "FreeNodeLabel",
                                      "FixedNodeLabel",
                                      "ElementLabel",
                                      "RotateViewPositive",
                                      "RotateViewNegative",
                                      "Refresh",
                                      "New",
                                      "CloseWindow",
                                      "CloseAllWindows",
                                      "NextWindow",
                                      "PreviousWindow",
                                      "Save",
                                      "SaveAs",
                                      "About",
                                      "Options",
                                      "Exit",
                                      "Tolvane"};
    return names;
}

QString iconPath(const QString& name)
{
    return ":/Icon/SRC/Icon/" + name + ".png";
}

}  // namespace

class TestResources : public QObject {
    Q_OBJECT

private slots:
    void iconIsADrawing_data();
    void iconIsADrawing();
    void iconsAreDistinct();
    void collectionHoldsOnlyTheNamedIcons();
};

void TestResources::iconIsADrawing_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : iconNames())
        QTest::newRow(qPrintable(name)) << name;
}

// Present, 64 x 64, and neither blank nor a filled square: a drawing on a transparent ground.
void TestResources::iconIsADrawing()
{
    QFETCH(QString, name);
    QImage image(iconPath(name));
    QVERIFY2(!image.isNull(), qPrintable("cannot load " + iconPath(name)));
    QCOMPARE(image.size(), QSize(64, 64));
    QVERIFY(image.hasAlphaChannel());

    image = image.convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    int transparent = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            opaque += alpha == 255;
            transparent += alpha == 0;
        }
    }
    // At least a few per cent of each, so a stray pixel does not count as a drawing.
    QVERIFY2(opaque >= 200, qPrintable(QString("%1 opaque pixels").arg(opaque)));
    QVERIFY2(transparent >= 20, qPrintable(QString("%1 transparent pixels").arg(transparent)));
}

// A copied drawing (say a + view left the same as its - view) must not pass for two icons.
void TestResources::iconsAreDistinct()
{
    QHash<QByteArray, QString> seen;
    for (const QString& name : iconNames()) {
        const QImage image = QImage(iconPath(name)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!image.isNull());
        const QByteArray digest = QCryptographicHash::hash(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes())),
            QCryptographicHash::Md5);
        QVERIFY2(!seen.contains(digest), qPrintable(name + " looks exactly like " + seen.value(digest)));
        seen.insert(digest, name);
    }
}

// A name misspelt in the build would leave one icon missing and another one nobody loads.
void TestResources::collectionHoldsOnlyTheNamedIcons()
{
    QStringList present = QDir(":/Icon/SRC/Icon").entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (const QString& name : iconNames())
        expected << name + ".png";
    expected.sort();
    QCOMPARE(present, expected);
}

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
