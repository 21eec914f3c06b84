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

// Numbers written as text, "0 0.5 1", so that table rows stay short.
inline RealList reals(const QByteArray& text)
{
    RealList out;
    for (const QByteArray& word : text.simplified().split(' ')) {
        bool ok = word.isEmpty();
        if (!ok)
            out << word.toDouble(&ok);
        if (!ok)
            qFatal("not a number: %s", word.constData());
    }
    return out;
}

// Names the table row whose check failed inside a loop (QCOMPARE returns, this destructor reports).
struct RowName {
    QByteArray name;
    ~RowName()
    {
        if (!name.isEmpty() && QTest::currentTestFailed())
            qWarning("in row: %s", name.constData());
    }
};

class ScriptRunner {
public:
    ScriptRunner() { QVERIFY(m_dir.isValid()); }
    // For one row of a table: a failing check names the row.
    explicit ScriptRunner(const QByteArray& row) : m_row{row} { QVERIFY(m_dir.isValid()); }

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

    EvaluationResult run(const QByteArray& script, const QString& name = QStringLiteral("model.tcl"),
                         const EvaluationWatch& watch = {}, ScriptTrust trust = ScriptTrust::Safe) const
    {
        const QString path = write(name, script);
        ModelInterpreter interpreter(trust);
        return evaluateScriptFile(interpreter, path, watch);
    }

    static const ModelRecord& model() { return *modelRecord(); }
    static QString status() { return modelRecord()->statusMessage; }

private:
    RowName m_row;
    QTemporaryDir m_dir;
};
