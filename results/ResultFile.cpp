#include "ResultFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace {

// Large enough that reading costs little per byte, small beside the lines it fills.
const qint64 kBlockSize = 1 << 20;

QString lineText(const char* data, int size)
{
    if (size > 0 && data[size - 1] == '\r')
        --size;
    return QString::fromLatin1(data, size);
}

}  // namespace

bool openResultFile(QFile* file)
{
    return !QFileInfo(file->fileName()).isDir() && file->open(QIODevice::ReadOnly);
}

bool readResultLines(const QString& path, QStringList* lines, const std::function<void(int)>& everyHundred)
{
    QFile file(path);
    if (!openResultFile(&file))
        return false;
    readResultLines(&file, lines, everyHundred);
    return true;
}

void readResultLines(QIODevice* device, QStringList* lines, const std::function<void(int)>& everyHundred)
{
    QByteArray block(int(kBlockSize), Qt::Uninitialized);
    QByteArray carry;  // the start of a line that runs past the block
    int count = 0;
    const auto add = [&](const char* data, int size) {
        lines->append(lineText(data, size));
        if (++count % 100 == 0 && everyHundred)
            everyHundred(count);
    };
    for (;;) {
        const qint64 got = device->read(block.data(), kBlockSize);
        if (got <= 0)
            break;
        const char* p = block.constData();
        const char* end = p + got;
        while (p < end) {
            const char* eol = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
            if (!eol) {
                carry.append(p, int(end - p));
                break;
            }
            if (carry.isEmpty()) {
                add(p, int(eol - p));
            } else {
                carry.append(p, int(eol - p));
                add(carry.constData(), carry.size());
                carry.clear();
            }
            p = eol + 1;
        }
    }
    if (!carry.isEmpty())
        add(carry.constData(), carry.size());
}

bool readFirstResultLine(const QString& path, QString* line)
{
    QFile file(path);
    if (!openResultFile(&file))
        return false;
    QByteArray text = file.readLine();
    if (text.endsWith('\n'))
        text.chop(1);
    *line = lineText(text.constData(), text.size());
    return true;
}
