#include "ResultFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstring>

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define TOLVANE_LINE_HEAP 1
#endif

namespace {

// Large enough that reading costs little per byte, small enough to stay in the cache while its
// lines are converted.
const int kBlockSize = 1 << 20;

QString lineText(const char* data, int size)
{
    if (size > 0 && data[size - 1] == '\r')
        --size;
    return QString::fromLatin1(data, size);
}

// The lines of a large file take twice its size in fresh memory. Left to itself, glibc gives each
// line of a few hundred kilobytes an mmap of its own, which the conversion then faults in 4 KiB at
// a time, and a page fault on a virtual machine costs microseconds: most of a load went there.
// While one file is read, its lines come from the main heap instead, grown once by the expected
// size and marked for transparent huge pages, so that a few hundred faults map the whole list.
class LineHeap {
public:
    explicit LineHeap(qint64 fileBytes)
    {
#ifdef TOLVANE_LINE_HEAP
        if (fileBytes < kMinimumFile)
            return;
        m_active = true;
        const qint64 expected = 2 * fileBytes + fileBytes / 16;  // UTF-16, and each line's header
        const size_t grow = size_t(qMin<qint64>(expected, kMaximumGrowth));
        mallopt(M_MMAP_MAX, 0);         // every line from the heap
        mallopt(M_TOP_PAD, int(grow));  // and what is grown for them stays there until the end
        if (void* block = malloc(grow)) {
            adviseHuge(static_cast<char*>(block), grow);
            free(block);  // back to the top of the heap, where the lines are cut from
        }
#else
        Q_UNUSED(fileBytes);
#endif
    }
    ~LineHeap()
    {
#ifdef TOLVANE_LINE_HEAP
        // glibc's mmap limit, and the heap top the scene builder keeps for its frames
        // (vtkdraw.cpp): what is left of the growth beyond it goes back at the next free at the top.
        if (m_active) {
            mallopt(M_MMAP_MAX, 65536);
            mallopt(M_TOP_PAD, kKeptTop);
        }
#endif
    }
    LineHeap(const LineHeap&) = delete;
    LineHeap& operator=(const LineHeap&) = delete;

private:
#ifdef TOLVANE_LINE_HEAP
    static void adviseHuge(char* begin, size_t size)
    {
        const std::uintptr_t huge = 2u << 20;
        const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(begin) + huge - 1) & ~(huge - 1);
        const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(begin) + size) & ~(huge - 1);
        // Where the kernel offers no huge pages this fails and nothing changes.
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    // Smaller files fault in quickly anyway.
    static constexpr qint64 kMinimumFile = 16 << 20;
    // mallopt takes an int.
    static constexpr qint64 kMaximumGrowth = qint64(1) << 30;
    static constexpr int kKeptTop = 64 << 20;
    bool m_active = false;
};

qint64 bytesLeft(QIODevice* device)
{
    return device->isSequential() ? 0 : qMax<qint64>(0, device->size() - device->pos());
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
    const LineHeap heap(bytesLeft(device));
    // One buffer: the start of a line that runs past the end of what was read moves to its front,
    // and the buffer grows only for a line longer than itself.
    QByteArray block(kBlockSize, Qt::Uninitialized);
    int kept = 0;  // bytes of an unfinished line at the front of the block
    int count = 0;
    const auto add = [&](const char* data, int size) {
        lines->append(lineText(data, size));
        if (++count % 100 == 0 && everyHundred)
            everyHundred(count);
    };
    for (;;) {
        if (kept == block.size())
            block.resize(block.size() * 2);
        const qint64 got = device->read(block.data() + kept, block.size() - kept);
        if (got <= 0)
            break;
        const char* p = block.constData();
        const char* end = p + kept + got;
        const char* from = p + kept;  // no line end before here
        for (;;) {
            const char* eol = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from)));
            if (!eol)
                break;
            add(p, int(eol - p));
            p = from = eol + 1;
        }
        kept = int(end - p);
        if (kept > 0 && p != block.constData())
            std::memmove(block.data(), p, size_t(kept));
    }
    if (kept > 0)
        add(block.constData(), kept);
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
