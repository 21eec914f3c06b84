// The live-stream decoder on arbitrary bytes cut at arbitrary points: the cuts must never change
// what it decodes, and it must never read past what it was given.
#include <cstring>

#include "FuzzInput.h"
#include "LiveStreamDecoder.h"

namespace {

// Headers up to 3001 values are records; larger ones are refused.
constexpr int kNodes = 1000;

// Bit for bit, so that NaN values compare too.
bool same(const QVector<double>& a, const QVector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), sizeof(double) * a.size()) == 0;
}

bool same(const QVector<LiveRecord>& a, const QVector<LiveRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i].time, &b[i].time, sizeof(double)) != 0 || !same(a[i].x, b[i].x) ||
            !same(a[i].y, b[i].y) || !same(a[i].z, b[i].z))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int cuts = in.choose(8);
    QVector<int> lengths;
    for (int i = 0; i < cuts; ++i)
        lengths << in.choose(64);
    const QByteArray stream = in.rest();

    LiveStreamDecoder whole(kNodes);
    const QVector<LiveRecord> once = whole.feed(stream);

    LiveStreamDecoder pieces(kNodes);
    QVector<LiveRecord> joined;
    int pos = 0;
    for (int length : lengths) {
        joined += pieces.feed(stream.mid(pos, length));
        pos += length;
    }
    joined += pieces.feed(stream.mid(pos));
    if (!same(once, joined))
        __builtin_trap();
    return 0;
}
