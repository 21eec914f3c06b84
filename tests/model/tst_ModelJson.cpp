// The model record as JSON: key order, exact numbers, booleans, escapes.
#include <QJsonArray>
#include <QtTest>

#include "JsonFields.h"
#include "ModelJson.h"
#include "ScriptRunner.h"

namespace {

// Some of the record's fields in declared order, which is not alphabetical.
const char* const fieldNames =
    "statusMessage ndm nodeTags elementTypes fixNodeTags analyzeCount seriesTimes seriesPrependZero";

bool parses(const QByteArray& json, QJsonObject* out)
{
    QJsonParseError error;
    *out = QJsonDocument::fromJson(json, &error).object();
    return error.error == QJsonParseError::NoError;
}

}  // namespace

class ModelJsonTest : public QObject {
    Q_OBJECT

private slots:
    void keysInDeclaredOrder()
    {
        const QStringList fields = QString(fieldNames).split(' ');
        ModelInterpreter fresh;  // empty record
        const QByteArray json = modelRecordToJson(*modelRecord());
        QJsonObject o;
        QVERIFY(parses(json, &o));
        int last = -1;
        for (const QString& key : fields) {
            const int at = json.indexOf("\"" + key.toUtf8() + "\":");
            QVERIFY2(at > last, qPrintable(key));
            last = at;
        }
        QCOMPARE(jsonDifferences(o, R"({"seriesFactor": 1.0, "seriesUseLast": false, "nodeTags": []})"),
                 QString());
    }

    void valuesRoundTrip()
    {
        ScriptRunner runner;
        const EvaluationResult r = runner.run(
            "model basic -ndm 3\n"
            "node 1 0.1 [expr {1.0/3}] -1e-300\n"
            "node 2 1e300 -0.0 123456789.123456789\n"
            "node 3 Inf 2 -inf\n"
            "element stdQuad 7 1 2 3 4 1 PlaneStrain 1\n"
            "fix 1 1 1 1 0 0 0\nequalDOF 1 2 1\nrigidLink beam 2 3\nanalyze 1\n"
            "timeSeries Path 1 -time {0 0.005} -values {0.1 -2.5e-7} -factor 9.80665 -prependZero "
            "-tStart 0.3\n"
            "node 4 0 0 0 -ndf x\n");
        QCOMPARE(r.code, 1);
        const ModelRecord& m = runner.model();
        const QByteArray json = modelRecordToJson(m);
        QJsonObject o;
        QVERIFY(parses(json, &o));
        const QJsonArray x = o.value("nodeX").toArray(), y = o.value("nodeY").toArray(),
                         z = o.value("nodeZ").toArray();
        for (int i = 0; i < 2; ++i) {
            // Compare bit for bit: JSON text must read back as the very same double.
            QCOMPARE(x[i].toDouble(), m.nodeX[i]);
            QCOMPARE(y[i].toDouble(), m.nodeY[i]);
            QCOMPARE(z[i].toDouble(), m.nodeZ[i]);
        }
        QVERIFY(json.contains("[0.1,") && !json.contains("0.10000000000000001"));  // shortest exact form
        QVERIFY(x[2].isNull() && z[2].isNull());  // infinities have no JSON number
        const QJsonArray files = o.value("sourceFiles").toArray();
        QCOMPARE(files.size(), 1);
        QVERIFY(files[0].toString().endsWith("/model.tcl"));
        // Each item's file is an index into sourceFiles.
        const QByteArray expected = R"({
            "statusMessage": "WARNING invalid nodal ndf given for node 4", "elementNodes4": [4],
            "elementNodes5": [-1], "nodeSourceFiles": [0, 0, 0], "nodeSourceLines": [2, 3, 4],
            "rigidLinkSourceFiles": [0], "rigidLinkSourceLines": [8], "seriesValues": [0.1, -2.5e-7],
            "seriesFactor": 9.80665, "seriesStartTime": 0.3, "seriesPrependZero": true})";
        QCOMPARE(jsonDifferences(o, expected), QString());

        // Control characters and non-ASCII text survive.
        modelRecord()->statusMessage = QStringLiteral("a\"b\\c\n\td\x01 Stütze");
        QVERIFY(parses(modelRecordToJson(*modelRecord()), &o));
        QCOMPARE(o.value("statusMessage").toString(), modelRecord()->statusMessage);
    }
};

QTEST_GUILESS_MAIN(ModelJsonTest)
#include "tst_ModelJson.moc"
