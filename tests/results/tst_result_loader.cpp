// The result loader on files: lines read as written, missing files, the range scan and the step
// display's check and parse.
#include <QTemporaryDir>
#include <QtTest>

#include "ModelRecord.h"
#include "ResultFile.h"
#include "ResultStep.h"
#include "zorloadresult.h"

using Values = QVector<double>;
using LinesAt = QMap<int, QByteArray>;  // line index -> the values after the time

namespace {

// Two nodes in the plane joined by one truss.
void fillTrussModel()
{
    resetModelRecord();
    ModelRecord* m = modelRecord();
    m->ndm = 2;
    m->nodeTags = {1, 2};
    m->nodeX = {0, 1};
    m->nodeY = m->nodeZ = {0, 0};
    m->elementTypes = {"truss"};
    m->elementTags = {1};
    m->elementNodeCounts = {2};
    for (int k = 1; k <= 8; ++k)
        m->elementNodes(k) = {k <= 2 ? k : -1};
}

}  // namespace

class tst_result_loader : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readsLinesAsWritten_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("unix") << QByteArray("1 2\n3 4\n") << QStringList{"old", "1 2", "3 4"};
        QTest::newRow("half-written last line") << QByteArray("1 2\n3 4") << QStringList{"old", "1 2", "3 4"};
        QTest::newRow("empty lines kept") << QByteArray("\n\n5\n") << QStringList{"old", "", "", "5"};
        const QByteArray longLine(3 << 20, '7');  // spans several read blocks
        QTest::newRow("longer than a block") << longLine + "\r\n8\n"
                                             << QStringList{"old", QString::fromLatin1(longLine), "8"};
        // The reader cuts 1 MiB blocks: a line end on either side of a cut.
        const QByteArray toCut((1 << 20) - 1, '6');
        QTest::newRow("\\r before a cut, \\n after it")
            << toCut + "\r\n9" << QStringList{"old", QString::fromLatin1(toCut), "9"};
        // Large files take another way to memory; the lines must not change with it.
        QByteArray big;
        QStringList bigLines{"old"};
        for (int i = 0; big.size() < (24 << 20); ++i) {
            const QByteArray line =
                QByteArray::number(i) + ' ' + QByteArray(150000 + i % 7, char('0' + i % 10));
            big += line + '\n';
            bigLines << QString::fromLatin1(line);
        }
        QTest::newRow("24 MiB") << big << bigLines;
    }
    void readsLinesAsWritten()
    {
        QFETCH(QByteArray, content);
        QStringList lines{"old"};
        QVERIFY(readResultLines(write("lines.file", content), &lines));
        QTEST(lines, "lines");
    }

    // A missing file leaves a node loader's list alone (the element loader's is checked with the range).
    void missingNodeFiles()
    {
        fillTrussModel();
        zorloadresult loader;
        QStringList lines{"kept"};
        loader.loadNodeDisp(m_dir.filePath("absent.file"), lines);
        loader.loadNodeReaction(m_dir.filePath("absent.file"), lines);
        QCOMPARE(lines, QStringList{"kept"});
    }

    // The range is scanned along with the read: every line of the list counts, whichever part of
    // the file it came in and whether or not the list held it before.
    void rangeCoversEveryLine()
    {
        fillTrussModel();
        const LinesAt special{{0, "1 -2"}, {199, "8 0"}, {349, "0 -9"}};
        QByteArray text;
        for (int i = 0; i < 350; ++i)
            text += "0.1 " + special.value(i, "0 0") + '\n';
        zorloadresult loader;
        QStringList lines{"0 99 -1"};
        loadTruss(loader, text, &lines);
        QCOMPARE(lines.size(), 351);
        QCOMPARE(loader.contourMin(), -9.0);
        QCOMPARE(loader.contourMax(), 99.0);
        // A later load of a missing file empties the list but keeps the range.
        loader.loadElementResult(m_dir.filePath("none.file"), lines, "truss", "x", "Element Attribute", "1",
                                 "1");
        QVERIFY(lines.isEmpty());
        QCOMPARE(loader.contourMin(), -9.0);
        QCOMPARE(loader.contourMax(), 99.0);
    }

    void stepDisplay()
    {
        struct Case {
            QString disp, reaction;
            int step;
            bool withElements, drawable;
            double time = 0;
            Values x = {}, y = {}, s2 = {};
        };
        const QString disp = "0.1 1 2 0 4 5 0";
        const QString reaction = "0.15 0 0 0 0 0 0";
        const Case cases[] = {
            {disp, reaction, 2, true, true, 0.15, {1, 4}, {2, 5}, {0.75, 0.5}},
            {disp, reaction, 2, false, true, 0.15, {1, 4}, {2, 5}, {}},  // no element result
            // An empty field counts only when parsing.
            {"0.1 1 2 0  4 5 0", reaction, 2, true, true, 0.15, {1, 0}, {2, 4}, {0.75, 0.5}},
            {"0.1 1 2 0 4 5", reaction, 2, true, false},  // displacement short
            {disp, "0.15 0 0 0 0", 2, true, false},       // reaction short
            {disp, reaction, 3, true, false},             // step past the lines
        };
        for (const Case& c : cases) {
            fillTrussModel();
            zorloadresult loader;
            QStringList elementLines;
            loadTruss(loader, "0.1 -10 10\n0.2 5 0\n", &elementLines);
            if (!c.withElements)
                elementLines.clear();
            ResultStep out;
            QCOMPARE(prepareResultStep(loader, {c.disp, c.disp}, {c.reaction, c.reaction}, elementLines,
                                       c.step, &out),
                     c.drawable);
            if (!c.drawable)
                continue;
            QCOMPARE(out.time, c.time);
            QCOMPARE(out.x, c.x);
            QCOMPARE(out.y, c.y);
            QCOMPARE(out.z, (Values{0, 0}));
            QCOMPARE(out.s2, c.s2);
            QVERIFY(out.s3.isEmpty() && out.s4.isEmpty() && out.s8.isEmpty());
        }
    }

    // Envelopes of three hand-made steps, against the scale the legend spans: all steps (-20 to 10),
    // the values shown, or numbers typed in. The largest displacement of the file sets the scale.
    void envelopesAndRanges()
    {
        struct Case {
            ContourValue value;
            ContourDisplay::Range range;
            double min, max;  // of the legend
            Values s2;
        };
        const Case cases[] = {
            {ContourValue::Maximum, ContourDisplay::AllSteps, -20, 10, {25.0 / 30, 1}},
            {ContourValue::Minimum, ContourDisplay::AllSteps, -20, 10, {10.0 / 30, 0}},
            {ContourValue::LargestAbsolute, ContourDisplay::ThisStep, 10, 20, {0, 1}},
            {ContourValue::Step, ContourDisplay::Fixed, -40, 40, {42.0 / 80, 0.25}},  // step 3
        };
        fillTrussModel();
        zorloadresult loader;
        QStringList elementLines, disp;
        loader.loadNodeDisp(write("NodeDisp.file", "0.1 0 0 0 0.3 0.4 9\n0.2 0 0 0 0 -1 0\n"), disp);
        QCOMPARE(loader.largestDisplacement(), 1.0);  // the third value is not a translation in 2-D
        loadTruss(loader, "0.1 -10 10\n0.2 5 0\n0.3 2 -20\n", &elementLines);
        const QString line = "0.3 0 0 0 0 0 0";
        for (const Case& c : cases) {
            ContourDisplay display;
            display.value = c.value;
            display.range = c.range;
            display.fixedMin = -40;
            display.fixedMax = 40;
            ResultStep out;
            QVERIFY(prepareResultStep(loader, {line, line, line}, {line, line, line}, elementLines, 3, &out,
                                      display));
            QVERIFY(out.contour);
            QCOMPARE(out.min, c.min);
            QCOMPARE(out.max, c.max);
            QCOMPARE(out.s2, c.s2);
        }
    }

private:
    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // Loads TEXT as the truss's axial forces, two point values per element.
    void loadTruss(zorloadresult& loader, const QByteArray& text, QStringList* lines)
    {
        loader.loadElementResult(write("truss_basicForces.file", text), *lines, "truss", "basicForces",
                                 "Point Attribute", "2", "1");
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(tst_result_loader)
#include "tst_result_loader.moc"
