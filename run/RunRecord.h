// The run record "OutputSetting" beside a script: what the last run recorded, so that loading
// results later can tell whether they still belong to the script on disk.
//
//   writeRunRecord(dir + "/OutputSetting", scriptDigest(script), dir, settings, &error);
//   const RunRecord r = readRunRecord(dir + "/OutputSetting");
//   if (r.readable && r.digest == scriptDigest(script)) offer(r.settings);
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

struct RunRecord {
    bool readable = false;          // false when the file could not be opened as a file
    QString digest;                 // line 1: MD5 of the script's bytes, lowercase hexadecimal
    QString directory;              // line 2: the script's directory
    QVector<QStringList> settings;  // lines 3 on: type name, then response names
};

// "OutputSetting": the record's file name inside the script's directory.
QString runRecordFileName();

// The MD5 digest of the file's bytes as 32 lowercase hexadecimal digits; the digest of no bytes
// when the file cannot be read.
QString scriptDigest(const QString& path);

// Writes the record (truncating). False with a reason when the file cannot be written.
bool writeRunRecord(const QString& path, const QString& digest, const QString& directory,
                    const QVector<QStringList>& settings, QString* error = nullptr);

// What Load Result says when the record's digest is not the script's.
QString resultsOfAnotherScriptText();

// Reads the record; lines 3 on are split at single blanks, empty words kept.
RunRecord readRunRecord(const QString& path);
