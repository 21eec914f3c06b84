// Test helper: writes a Tcl script into a temporary directory and evaluates it the way the
// application does, so that the commands are exercised through real scripts.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ModelInterpreter.h"
#include "ModelRecord.h"
#include "ScriptEvaluation.h"

using IntList = QVector<int>;
using RealList = QVector<double>;

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Names the table row whose check failed inside a loop (QCOMPARE returns, this destructor reports).
struct RowName {
    QByteArray name;
    ~RowName()
    {
        if (QTest::currentTestFailed())
            qWarning("in row: %s", name.constData());
    }
};

class ScriptRunner {
public:
    ScriptRunner() { QVERIFY(m_dir.isValid()); }

    QString dir() const { return m_dir.path(); }
    QByteArray log() const { return readFile(m_dir.filePath("Tolvane.log")); }

    // Writes TEXT as NAME (a path relative to the temporary directory).
    QString write(const QString& name, const QByteArray& text) const
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(text);
        return path;
    }

    EvaluationResult run(const QByteArray& script, const QString& name = QStringLiteral("model.tcl")) const
    {
        const QString path = write(name, script);
        ModelInterpreter interpreter;
        return evaluateScriptFile(interpreter, path);
    }

    static const ModelRecord& model() { return *modelRecord(); }
    static QString status() { return modelRecord()->statusMessage; }

private:
    QTemporaryDir m_dir;
};
