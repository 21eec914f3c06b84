// The model record as JSON: key order, exact numbers, booleans, escapes.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include "ModelJson.h"
#include "ScriptRunner.h"

class ModelJsonTest : public QObject {
    Q_OBJECT

private slots:
    void keysInDeclaredOrder();
    void valuesRoundTrip();
};

static const QStringList fieldNames = {"statusMessage",
                                       "ndf",
                                       "ndm",
                                       "sourceFiles",
                                       "nodeTags",
                                       "nodeX",
                                       "nodeY",
                                       "nodeZ",
                                       "nodeSourceFiles",
                                       "nodeSourceLines",
                                       "elementTypes",
                                       "elementTags",
                                       "elementNodeCounts",
                                       "elementNodes1",
                                       "elementNodes2",
                                       "elementNodes3",
                                       "elementNodes4",
                                       "elementNodes5",
                                       "elementNodes6",
                                       "elementNodes7",
                                       "elementNodes8",
                                       "elementSourceFiles",
                                       "elementSourceLines",
                                       "fixNodeTags",
                                       "fixDofs1",
                                       "fixDofs2",
                                       "fixDofs3",
                                       "fixDofs4",
                                       "fixDofs5",
                                       "fixDofs6",
                                       "fixSourceFiles",
                                       "fixSourceLines",
                                       "equalDofRetainedNodes",
                                       "equalDofConstrainedNodes",
                                       "equalDofSourceFiles",
                                       "equalDofSourceLines",
                                       "rigidLinkRetainedNodes",
                                       "rigidLinkConstrainedNodes",
                                       "rigidLinkSourceFiles",
                                       "rigidLinkSourceLines",
                                       "analyzeCount",
                                       "seriesTimes",
                                       "seriesValues",
                                       "seriesFactor",
                                       "seriesStartTime",
                                       "seriesTimeStep",
                                       "seriesUseLast",
                                       "seriesPrependZero"};

void ModelJsonTest::keysInDeclaredOrder()
{
    ModelInterpreter fresh;  // empty record
    const QByteArray json = modelRecordToJson(*modelRecord());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.object().keys().size(), fieldNames.size());
    int last = -1;
    for (const QString& key : fieldNames) {
        const int at = json.indexOf("\"" + key.toUtf8() + "\":");
        QVERIFY2(at > last, qPrintable(key));
        last = at;
    }
    QCOMPARE(doc.object().value("seriesFactor").toDouble(), 1.0);
    QCOMPARE(doc.object().value("seriesUseLast"), QJsonValue(false));
    QCOMPARE(doc.object().value("nodeTags"), QJsonValue(QJsonArray()));
}

void ModelJsonTest::valuesRoundTrip()
{
    ScriptRunner runner;
    const EvaluationResult r = runner.run(
        "model basic -ndm 3\n"
        "node 1 0.1 [expr {1.0/3}] -1e-300\n"
        "node 2 1e300 -0.0 123456789.123456789\n"
        "node 3 Inf 2 -inf\n"
        "element stdQuad 7 1 2 3 4 1 PlaneStrain 1\n"
        "fix 1 1 1 1 0 0 0\nequalDOF 1 2 1\nrigidLink beam 2 3\nanalyze 1\n"
        "timeSeries Path 1 -time {0 0.005} -values {0.1 -2.5e-7} -factor 9.80665 -prependZero -tStart 0.3\n"
        "node 4 0 0 0 -ndf x\n");
    QCOMPARE(r.code, 1);
    const ModelRecord& m = runner.model();
    const QByteArray json = modelRecordToJson(m);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(json, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    QCOMPARE(o.value("statusMessage").toString(),
             QStringLiteral("WARNING invalid nodal ndf given for node 4"));
    QCOMPARE(o.value("ndm").toInt(), 3);
    QCOMPARE(o.value("ndf").toInt(), 6);
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
    QCOMPARE(o.value("elementTypes").toArray(), QJsonArray({"quad"}));
    QCOMPARE(o.value("elementNodes4").toArray(), QJsonArray({4}));
    QCOMPARE(o.value("elementNodes5").toArray(), QJsonArray({-1}));
    QCOMPARE(o.value("fixDofs3").toArray(), QJsonArray({1}));
    QCOMPARE(o.value("rigidLinkConstrainedNodes").toArray(), QJsonArray({3}));
    // Each item's file (an index into sourceFiles) and line.
    const QJsonArray files = o.value("sourceFiles").toArray();
    QCOMPARE(files.size(), 1);
    QVERIFY(files[0].toString().endsWith("/model.tcl"));
    QCOMPARE(o.value("nodeSourceFiles").toArray(), QJsonArray({0, 0, 0}));
    QCOMPARE(o.value("nodeSourceLines").toArray(), QJsonArray({2, 3, 4}));
    QCOMPARE(o.value("elementSourceLines").toArray(), QJsonArray({5}));
    QCOMPARE(o.value("fixSourceLines").toArray(), QJsonArray({6}));
    QCOMPARE(o.value("equalDofSourceLines").toArray(), QJsonArray({7}));
    QCOMPARE(o.value("rigidLinkSourceFiles").toArray(), QJsonArray({QJsonValue(0)}));
    QCOMPARE(o.value("rigidLinkSourceLines").toArray(), QJsonArray({8}));
    QCOMPARE(o.value("analyzeCount").toInt(), 1);
    QCOMPARE(o.value("seriesValues").toArray(), QJsonArray({0.1, -2.5e-7}));
    QCOMPARE(o.value("seriesFactor").toDouble(), 9.80665);
    QCOMPARE(o.value("seriesStartTime").toDouble(), 0.3);
    QCOMPARE(o.value("seriesPrependZero"), QJsonValue(true));
    QCOMPARE(o.value("seriesUseLast"), QJsonValue(false));

    // Control characters and non-ASCII text survive.
    modelRecord()->statusMessage = QStringLiteral("a\"b\\c\n\td\x01 Stütze");
    const QJsonObject again = QJsonDocument::fromJson(modelRecordToJson(*modelRecord())).object();
    QCOMPARE(again.value("statusMessage").toString(), modelRecord()->statusMessage);
}

QTEST_GUILESS_MAIN(ModelJsonTest)
#include "tst_ModelJson.moc"
