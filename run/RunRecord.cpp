#include "RunRecord.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

QString runRecordFileName()
{
    return QStringLiteral("OutputSetting");
}

QString scriptDigest(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (file.open(QIODevice::ReadOnly))
        hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

bool writeRunRecord(const QString& path, const QString& digest, const QString& directory,
                    const QVector<QStringList>& settings, QString* error)
{
    // A directory or an unwritable file must stop the run, not leave an old record in place.
    QSaveFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2")
                         .arg(path, QFileInfo(path).isDir() ? QStringLiteral("it is a directory")
                                                            : file.errorString());
        return false;
    }
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << digest << '\n' << directory << '\n';
    for (const QStringList& setting : settings)
        out << setting.join(QLatin1Char(' ')) << '\n';
    out.flush();
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString resultsOfAnotherScriptText()
{
    return QStringLiteral(
        "These results are from a run of another script, or of an earlier version of this "
        "one. Run this script to load its results.");
}

RunRecord readRunRecord(const QString& path)
{
    RunRecord record;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return record;
    record.readable = true;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    record.digest = in.readLine();
    record.directory = in.readLine();
    while (!in.atEnd())
        record.settings.append(in.readLine().split(QLatin1Char(' ')));
    return record;
}
