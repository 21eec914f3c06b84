// ResultFile: a recorder file read into text lines, fast enough for files of hundreds of
// megabytes: big blocks cut into lines by hand, each line held once as Latin-1 text.
//
//   QStringList lines;
//   readResultLines(dir + "/TolvaneResult/NodeDisp.file", &lines, [](int n) { showCount(n); });
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QFile;
class QIODevice;

// Opens the file read-only; false when it is missing, unreadable or a directory.
bool openResultFile(QFile* file);

// Appends every line of the device (line ends "\n" or "\r\n" removed; a last line without a
// line end counts) and calls everyHundred(count) whenever the count of lines read is a multiple
// of 100.
void readResultLines(QIODevice* device, QStringList* lines,
                     const std::function<void(int)>& everyHundred = {});

// The same for a file; false, with the list unchanged, when it cannot be opened.
bool readResultLines(const QString& path, QStringList* lines,
                     const std::function<void(int)>& everyHundred = {});

// The first line of the file without its line end; false when the file cannot be opened.
bool readFirstResultLine(const QString& path, QString* line);
