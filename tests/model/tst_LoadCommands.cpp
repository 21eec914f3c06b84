// Transformations, the transformation tag of each beam-column argument form, local axes, and
// pattern bodies with their loads, driven by scripts.
#include <QtTest>

#include "JsonFields.h"
#include "LocalAxes.h"
#include "ModelJson.h"
#include "ScriptRunner.h"

class LoadCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void transformationTagOfEachArgumentForm()
    {
        struct Case {
            int ndm;
            QByteArray element;
            int tag;
        };
        const Case cases[] = {
            {2, "elasticBeamColumn 1 1 2 0.1 2e8 1e-4 7 -mass 2", 7},
            {2, "elasticBeamColumn 1 1 2 5 7", 7},
            {3, "elasticBeamColumn 1 1 2 0.1 2e8 8e7 1e-5 1e-4 2e-4 7", 7},
            {3, "elasticBeamColumn 1 1 2 5 7 -mass 1", 7},
            {2, "ModElasticBeam2d 1 1 2 0.1 2e8 1e-4 4 4 2 7", 7},
            {2, "ElasticTimoshenkoBeam 1 1 2 2e8 8e7 0.1 1e-4 0.05 7", 7},
            {3, "ElasticTimoshenkoBeam 1 1 2 2e8 8e7 0.1 1e-5 1e-4 2e-4 0.05 0.05 7", 7},
            {3, "forceBeamColumn 1 1 2 7 3 -iter 10 1e-12", 7},
            {3, "forceBeamColumn 1 1 2 5 3 7", 7},
            {2, "dispBeamColumn 1 1 2 7 3", 7},
            {2, "dispBeamColumn 1 1 2 5 3 7 -integration Lobatto", 7},
            {3, "nonlinearBeamColumn 1 1 2 7 3", 7},
            {3, "nonlinearBeamColumn 1 1 2 5 3 7 -iter 10 1e-12", 7},
            {2, "beamWithHinges 1 1 2 3 0.3 4 0.3 2e8 0.1 1e-4 7", 7},
            {3, "beamWithHinges 1 1 2 3 0.3 4 0.3 2e8 0.1 1e-4 2e-4 8e7 1e-5 7", 7},
            {3, "truss 1 1 2 0.1 7", -1},                   // takes no transformation
            {3, "elasticBeamColumn 1 1 2 0.1 2e8 7", -1},  // no form of the type
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.element);
            QCOMPARE(runner.run("model basic -ndm " + QByteArray::number(c.ndm) + "\nelement " + c.element + "\n")
                         .code,
                     0);
            QCOMPARE(runner.model().elementTransformations, IntList({c.tag}));
        }
    }

    void localAxesFollowTheTransformation()
    {
        struct Case {
            QByteArray script;
            int element;  // entry
            RealList x, y, z;
            double length;
        };
        const QByteArray space = "model basic -ndm 3\nnode 1 0 0 0\nnode 2 0 0 3\nnode 3 4 0 3.5\n"
                                 "geomTransf Linear 1 1 0 0\n"
                                 "geomTransf Corotational 2 0 0 1 -jntOffset 0 0 0 0 0 -0.5\n"
                                 "element elasticBeamColumn 1 1 2 5 1\nelement elasticBeamColumn 2 1 3 5 2\n";
        const Case cases[] = {
            // a column with vecxz along X: z is X, y is -Y
            {space, 0, reals("0 0 1"), reals("0 -1 0"), reals("1 0 0"), 3.0},
            // a brace in the XZ plane, its end j moved down by the offset to make a 3-4-5 triangle
            {space, 1, reals("0.8 0 0.6"), reals("0 1 0"), reals("-0.6 0 0.8"), 5.0},
            // a 2-D beam: y a quarter turn counter-clockwise from x
            {"model basic -ndm 2\nnode 1 0 0\nnode 2 3 4\ngeomTransf Linear 1\n"
             "element elasticBeamColumn 1 1 2 0.1 2e8 1e-4 1\n",
             0, reals("0.6 0.8 0"), reals("-0.8 0.6 0"), reals("0 0 1"), 5.0},
        };
        for (const Case& c : cases) {
            ScriptRunner runner(c.script);
            QCOMPARE(runner.run(c.script).code, 0);
            const MemberAxes a = MemberGeometry(runner.model()).axes(c.element);
            QVERIFY(a.oriented);
            QVERIFY(qAbs(a.length - c.length) < 1e-12);
            for (int k = 0; k < 3; ++k) {
                QVERIFY(qAbs(a.x[k] - c.x[k]) < 1e-12);
                QVERIFY(qAbs(a.y[k] - c.y[k]) < 1e-12);
                QVERIFY(qAbs(a.z[k] - c.z[k]) < 1e-12);
            }
        }
    }

    void patternBodiesRecordTheirLoadsNodesAndElements()
    {
        ScriptRunner runner;
        const EvaluationResult r = runner.run(
            "model basic -ndm 2 -ndf 3\nnode 1 0 0\nnode 2 4 0\ngeomTransf Linear 1\n"
            "element elasticBeamColumn 1 1 2 0.1 2e8 1e-4 1\n"
            "proc push {f} { load 2 $f 0 0 }\n"
            "pattern Plain 3 Linear {\n"
            "    node 3 8 0\n"
            "    element elasticBeamColumn 2 2 3 0.1 2e8 1e-4 1\n"
            "    push 5.0\n"
            "    eleLoad -ele 1 2 -type -beamUniform -10\n"
            "    eleLoad -range 1 2 -type -beamPoint -7 0.25 1.5\n"
            "    sp 1 2 0.01\n"
            "}\n"
            "load 3 0 -1 0\n"
            "pattern UniformExcitation 4 1 -accel 1\n"
            "load 2 1 1 1 -pattern 9\n");
        QCOMPARE(r.code, 0);
        QJsonObject o = QJsonDocument::fromJson(modelRecordToJson(runner.model())).object();
        QCOMPARE(jsonDifferences(o, R"({
            "nodeTags": [1, 2, 3], "elementTags": [1, 2], "elementTransformations": [1, 1],
            "geomTransfTypes": ["Linear"], "geomTransfTags": [1],
            "patternTags": [3, 4], "patternTypes": ["Plain", "UniformExcitation"],
            "nodalLoadNodes": [2, 3, 2], "nodalLoadPatterns": [3, 3, 9],
            "nodalLoadValues1": [5, 0, 1], "nodalLoadValues2": [0, -1, 1], "nodalLoadValues3": [0, 0, 1],
            "nodalLoadValues4": [0, 0, 0],
            "elementLoadElements": [1, 2, 1, 2], "elementLoadPatterns": [3, 3, 3, 3],
            "elementLoadTypes": ["beamUniform", "beamUniform", "beamPoint", "beamPoint"],
            "elementLoadY": [-10, -10, -7, -7], "elementLoadX": [0, 0, 1.5, 1.5],
            "elementLoadPositions": [0, 0, 0.25, 0.25],
            "spNodes": [1], "spDofs": [2], "spValues": [0.01], "spPatterns": [3]})"),
                 QString());

        // No pattern yet, and an error inside a body, stop the script as the solver does.
        ScriptRunner failing;
        QCOMPARE(failing.run("model basic -ndm 2\nload 1 1 0 0\n").code, 1);
        QCOMPARE(failing.status(), QStringLiteral("WARNING no current load pattern - load 1\n"));
        const EvaluationResult inBody =
            failing.run("model basic -ndm 2\npattern Plain 1 Linear {\n  load 1 x 0 0\n}\nnode 2 0 0\n");
        QCOMPARE(inBody.code, 1);
        QVERIFY(failing.model().nodeTags.isEmpty());
    }
};

QTEST_APPLESS_MAIN(LoadCommandsTest)
#include "tst_LoadCommands.moc"
