// The real `tolvane --render` process: settings beside the binary, exit statuses, pictures.
#include <QProcess>

#include "RenderTestSupport.h"

using namespace rendertest;

class tst_render_cli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A copy of the binary keeps its config.ini inside the test's own folder.
        QDir(m_dir.path()).mkpath("app");
        m_binary = m_dir.filePath("app/tolvane");
        QVERIFY(QFile::copy(TOLVANE_BINARY_DIR "/bin/tolvane", m_binary));
        m_script = m_dir.filePath("portal.tcl");
        QVERIFY(writeFile(m_script, portalScript()));
    }

    void picturesAndDefaults()
    {
        QVERIFY(!QFileInfo::exists(m_dir.filePath("app/config.ini")));
        const QString out = m_dir.filePath("portal.png");
        QCOMPARE(run({"--render", m_script, "--output", out, "--size", "200x100", "--view", "XZ+"}), 0);
        QVERIFY(QFileInfo(m_dir.filePath("app/config.ini")).isFile());
        const QImage image(out);
        QCOMPARE(image.size(), QSize(600, 300));
        QCOMPARE(QColor(image.pixel(595, 5)), QColor(Qt::white));
        QVERIFY2(countInColumn(image, 300, QColor(128, 128, 255), 3) >= 3,
                 "the beam in default blue, half opaque");

        const QString plan = m_dir.filePath("plan.jpg");
        const QStringList args{"--render",     m_script, "--output", plan,
                               "--view",       "XY+",    "--labels", "free,fixed,elements",
                               "--perspective"};
        QCOMPARE(run(args), 0);
        QCOMPARE(QImage(plan).size(), QSize(2400, 1800));
    }

    void failuresExitWithAReason()
    {
        const QString broken = m_dir.filePath("broken.tcl");
        QVERIFY(writeFile(broken, QByteArray(portalScript()) + "error {bad input}\n"));
        QCOMPARE(run({"--render", broken, "--output", m_dir.filePath("broken.png"), "--size", "100x100"}), 1);
        QVERIFY(m_stderr.contains("broken.tcl"));
        QCOMPARE(QImage(m_dir.filePath("broken.png")).size(), QSize(300, 300));

        QCOMPARE(run({"--render", m_script, "--output", m_dir.filePath("portal.gif")}), 2);
        QVERIFY2(m_stderr.contains(".png, .bmp or .jpg"), qPrintable(m_stderr));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("portal.gif")));
        QCOMPARE(run({"--render", m_dir.filePath("absent.tcl"), "--output", m_dir.filePath("absent.png")}),
                 2);
        QVERIFY2(m_stderr.contains("absent.tcl"), qPrintable(m_stderr));
        QVERIFY(!QFileInfo::exists(m_dir.filePath("absent.png")));
        QCOMPARE(run({"--render", m_script, "--output", m_dir.filePath("none/portal.png")}), 2);
        QVERIFY2(m_stderr.contains("none/portal.png"), qPrintable(m_stderr));
    }

private:
    int run(const QStringList& arguments)
    {
        QProcess p;
        p.start(m_binary, arguments);
        if (!p.waitForFinished(120000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        m_stderr = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir m_dir;
    QString m_binary;
    QString m_script;
    QString m_stderr;
};

QTEST_GUILESS_MAIN(tst_render_cli)
#include "tst_render_cli.moc"
