#include "ResultParsing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cmath>

#include "ModelRecord.h"
#include "NodeIndex.h"

namespace {

// Walks the fields of one line from the left, splitting at every blank, without building a
// list: lines of large models hold 160,000 fields and only some of them are wanted.
class FieldCursor {
public:
    explicit FieldCursor(QStringView line) : m_p(line.utf16()), m_end(line.utf16() + line.size())
    {
        // A line read from a Windows file, or cut by hand, may keep its line end.
        while (m_end > m_p && (m_end[-1] == u'\r' || m_end[-1] == u'\n'))
            --m_end;
    }

    // The next field; false once every field was read (a line always has at least one).
    bool next(const char16_t** begin, const char16_t** end)
    {
        if (m_done)
            return false;
        *begin = m_p;
        while (m_p < m_end && *m_p != u' ')
            ++m_p;
        *end = m_p;
        if (m_p < m_end)
            ++m_p;
        else
            m_done = true;
        ++m_index;
        return true;
    }

    // Reads field `index` (0-based, not before the next one); false when the line ends first.
    bool readAt(int index, double* value)
    {
        const char16_t* b = nullptr;
        const char16_t* e = nullptr;
        while (m_index < index) {
            if (!next(&b, &e))
                return false;
        }
        if (!next(&b, &e))
            return false;
        *value = number(b, e);
        return true;
    }

    // 0 for a field that is not a finite number, which *isNumber then says.
    static double number(const char16_t* begin, const char16_t* end, bool* isNumber = nullptr)
    {
        if (isNumber)
            *isNumber = false;
        const std::ptrdiff_t n = end - begin;
        char text[64];
        if (n <= 0 || n >= std::ptrdiff_t(sizeof text))
            return 0.0;
        for (std::ptrdiff_t i = 0; i < n; ++i) {
            if (begin[i] > 0x7f)
                return 0.0;
            text[i] = char(begin[i]);
        }
        const char* first = text;
        const char* last = text + n;
        // from_chars refuses the leading plus that some writers put before a mantissa.
        if (*first == '+' && n > 1 && first[1] != '-')
            ++first;
        double value = 0.0;
        const auto result = std::from_chars(first, last, value);
        if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
            return 0.0;
        if (isNumber)
            *isNumber = true;
        return value;
    }

private:
    const char16_t* m_p;
    const char16_t* m_end;
    int m_index = 0;  // of the field next() returns
    bool m_done = false;
};

// Elements whose every list holds an entry: a failed script can leave one partial element.
int completeElements(const ModelRecord& model)
{
    int n = std::min(model.elementTypes.size(), model.elementNodeCounts.size());
    for (int k = 1; k <= 8; ++k)
        n = std::min(n, model.elementNodes(k).size());
    return n;
}

// A field read for a size rather than for its digits: decimal notation parsed in one pass, to
// about 1e-15 relative; anything else (nan, inf, "1,5", an empty field) reads as 0 as elsewhere.
double quickNumber(const char16_t* p, const char16_t* end)
{
    static const std::array<double, 700> tens = [] {
        std::array<double, 700> t{};
        for (int i = 0; i < 700; ++i)
            t[i] = std::pow(10.0, i - 350);
        return t;
    }();
    bool negative = false;
    if (p < end && (*p == u'-' || *p == u'+'))
        negative = *p++ == u'-';
    std::uint64_t digits = 0;
    int scale = 0, kept = 0;
    bool any = false, point = false;
    for (; p < end; ++p) {
        const char16_t c = *p;
        if (c >= u'0' && c <= u'9') {
            any = true;
            if (kept < 18) {
                digits = digits * 10 + (c - u'0');
                kept += digits != 0;
                scale -= point;
            } else {
                scale += !point;
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return 0.0;
    if (p < end) {
        if (*p != u'e' && *p != u'E')
            return 0.0;
        ++p;
        bool minus = false;
        if (p < end && (*p == u'-' || *p == u'+'))
            minus = *p++ == u'-';
        int exponent = 0;
        if (p == end)
            return 0.0;
        for (; p < end; ++p) {
            if (*p < u'0' || *p > u'9')
                return 0.0;
            exponent = std::min(exponent * 10 + (*p - u'0'), 1000);
        }
        scale += minus ? -exponent : exponent;
    }
    const int index = scale + 350;
    const double value = index < 0 ? 0.0 : index >= 700 ? 0.0 : double(digits) * tens[std::size_t(index)];
    if (!std::isfinite(value))
        return 0.0;
    return negative ? -value : value;
}

int stride(const ContourSelection& s, int nodeCount)
{
    return s.pointAttribute && nodeCount > 0 ? s.columns / nodeCount : 0;
}

}  // namespace

double readResultNumber(QStringView field, bool* isNumber)
{
    return FieldCursor::number(field.utf16(), field.utf16() + field.size(), isNumber);
}

int appendNodeValues(QStringView line, int ndm, double* time, QVector<double>* x, QVector<double>* y,
                     QVector<double>* z, NotNumbers* notNumbers)
{
    FieldCursor cursor(line);
    const char16_t* b = nullptr;
    const char16_t* e = nullptr;
    cursor.next(&b, &e);
    bool isNumber = true;
    *time = FieldCursor::number(b, e, &isNumber);
    int nonEmpty = e > b;
    if (notNumbers) {
        notNumbers->values = isNumber || e == b ? 0 : 1;
        notNumbers->nodes.clear();
    }
    const int taken = ndm >= 1 && ndm <= 3 ? ndm : 0;
    double v[3] = {0.0, 0.0, 0.0};
    for (int node = 0;; ++node) {
        int got = 0;
        bool drawnAreNumbers = true;
        for (; got < 3 && cursor.next(&b, &e); ++got) {
            nonEmpty += e > b;
            // Every value counts when they are counted; only the drawn ones place the node.
            if (got < taken || notNumbers) {
                const double value = FieldCursor::number(b, e, &isNumber);
                if (got < taken)
                    v[got] = value;
                // An empty field (two blanks) is no value at all: the field count judges the line.
                if (notNumbers && !isNumber && e > b) {
                    ++notNumbers->values;
                    drawnAreNumbers = drawnAreNumbers && got >= taken;
                }
            }
        }
        if (got < 3)
            break;
        if (!drawnAreNumbers)
            notNumbers->nodes.append(node);
        if (taken > 0) {
            x->append(v[0]);
            y->append(taken >= 2 ? v[1] : 0.0);
            z->append(taken == 3 ? v[2] : 0.0);
        }
    }
    return nonEmpty;
}

void readResultFields(QStringView line, int first, int count, QVector<double>* out)
{
    out->fill(0.0, std::max(count, 0));
    FieldCursor cursor(line);
    for (int i = 0; i < count && first >= 0 && cursor.readAt(first + i, &(*out)[i]); ++i) {
    }
}

int countResultFields(QStringView line, double* firstField)
{
    FieldCursor cursor(line);
    const char16_t* b = nullptr;
    const char16_t* e = nullptr;
    int nonEmpty = 0;
    bool first = true;
    while (cursor.next(&b, &e)) {
        if (first && firstField)
            *firstField = FieldCursor::number(b, e);
        first = false;
        nonEmpty += e > b;
    }
    return nonEmpty;
}

int firstNodeCount(const ModelRecord& model, const QString& elementType)
{
    const int n = completeElements(model);
    for (int i = 0; i < n; ++i) {
        if (model.elementTypes[i] == elementType)
            return model.elementNodeCounts[i];
    }
    return 0;
}

ContourLayout contourLayout(const ModelRecord& model, const NodeIndex& index, const QString& elementType,
                            int nodeCount)
{
    ContourLayout layout;
    layout.nodeCount = nodeCount;
    if (nodeCount < 1 || nodeCount > 8 || firstNodeCount(model, elementType) != nodeCount)
        return layout;
    layout.applies = true;
    layout.cornersAtNode.fill(0, model.nodeTags.size());
    const int n = completeElements(model);
    int corners[8];
    for (int i = 0; i < n; ++i) {
        if (model.elementNodeCounts[i] != nodeCount)
            continue;
        for (int c = 0; c < nodeCount; ++c) {
            corners[c] = index.position(model.elementNodes(c + 1)[i]);
            if (corners[c] < 0)
                return layout;
        }
        if (model.elementTypes[i] != elementType) {
            layout.blocks.append(-1);
            continue;
        }
        layout.blocks.append(layout.chosenCount++);
        for (int c = 0; c < nodeCount; ++c) {
            layout.corners.append(corners[c]);
            ++layout.cornersAtNode[corners[c]];
        }
    }
    return layout;
}

ContourLayoutCache::ContourLayoutCache() = default;
ContourLayoutCache::~ContourLayoutCache() = default;

bool ContourLayoutCache::matches(const ModelRecord& model, const QString& elementType) const
{
    if (!m_filled || elementType != m_type || !m_nodeTags.isSharedWith(model.nodeTags) ||
        !m_types.isSharedWith(model.elementTypes) || !m_counts.isSharedWith(model.elementNodeCounts))
        return false;
    for (int k = 0; k < 8; ++k) {
        if (!m_nodes[k].isSharedWith(model.elementNodes(k + 1)))
            return false;
    }
    return true;
}

const ContourLayout& ContourLayoutCache::layout(const ModelRecord& model, const QString& elementType,
                                                int nodeCount)
{
    static const ContourLayout none;
    if (nodeCount < 1 || nodeCount > 8)
        return none;
    if (!matches(model, elementType)) {
        m_type = elementType;
        m_nodeTags = model.nodeTags;
        m_types = model.elementTypes;
        m_counts = model.elementNodeCounts;
        for (int k = 0; k < 8; ++k)
            m_nodes[k] = model.elementNodes(k + 1);
        m_index.reset();
        std::fill(std::begin(m_built), std::end(m_built), false);
        m_filled = true;
    }
    if (!m_built[nodeCount]) {
        if (!m_index)
            m_index = std::make_unique<NodeIndex>(model.nodeTags);
        m_layouts[nodeCount] = contourLayout(model, *m_index, elementType, nodeCount);
        m_built[nodeCount] = true;
    }
    return m_layouts[nodeCount];
}

int readContourSlots(QStringView line, const ContourSelection& selection, int nodeCount, int blocks,
                     QVector<double>* chosen)
{
    const int p = std::max(nodeCount, 1);
    chosen->resize(std::max(blocks, 0) * p);
    const int step = stride(selection, p);
    const int w = selection.columns;
    // Chosen blocks come in file order, so one pass along the line serves every element.
    FieldCursor cursor(line);
    bool more = w >= 1 && selection.firstColumn >= 1;
    int whole = 0;
    double* out = chosen->data();
    for (int block = 0; block < blocks; ++block) {
        double value = 0.0;
        for (int c = 0; c < p; ++c) {
            if (more && (c == 0 || step > 0))
                more = cursor.readAt(selection.firstColumn + block * w + c * step, &value);
            *out++ = more ? value : 0.0;
        }
        whole += more;
    }
    return whole;
}

void averageAtNodes(const ContourLayout& layout, QVector<double>* chosen, QVector<double>* scratch)
{
    const int n = layout.corners.size();
    if (chosen->size() < n)
        return;
    scratch->fill(0.0, layout.cornersAtNode.size());
    double* sums = scratch->data();
    const int* at = layout.corners.constData();
    double* v = chosen->data();
    for (int k = 0; k < n; ++k)
        sums[at[k]] += v[k];
    for (int k = 0; k < n; ++k)
        v[k] = sums[at[k]] / layout.cornersAtNode[at[k]];
}

void contourPoints(const ContourLayout& layout, const QVector<double>& chosen, double min, double max,
                   QVector<double>* out)
{
    out->clear();
    if (!layout.applies)
        return;
    const int p = layout.nodeCount;
    // An all-zero result has no range: show it in the middle colour.
    const double span = max - min;
    const auto normalise = [&](double v) { return span == 0.0 ? 0.5 : (v - min) / span; };
    out->reserve(layout.blocks.size() * p);
    for (int block : layout.blocks) {
        for (int c = 0; c < p; ++c) {
            const int k = block * p + c;
            out->append(block < 0 ? 0.5 : normalise(k < chosen.size() ? chosen[k] : 0.0));
        }
    }
}

void ContourEnvelope::add(const QVector<double>& chosen, int wholeValues)
{
    const int n = std::min(wholeValues, chosen.size());
    if (max.size() < n) {
        max.resize(n);
        min.resize(n);
        absMax.resize(n);
        // Slots no line held whole read as 0, as a missing field does.
        std::fill(max.begin() + seen, max.end(), 0.0);
        std::fill(min.begin() + seen, min.end(), 0.0);
        std::fill(absMax.begin() + seen, absMax.end(), 0.0);
    }
    double* hi = max.data();
    double* lo = min.data();
    double* ab = absMax.data();
    const double* v = chosen.constData();
    for (int k = 0; k < n; ++k) {
        const bool first = k >= seen;
        hi[k] = first ? v[k] : std::max(hi[k], v[k]);
        lo[k] = first ? v[k] : std::min(lo[k], v[k]);
        ab[k] = first ? std::fabs(v[k]) : std::max(ab[k], std::fabs(v[k]));
    }
    seen = std::max(seen, n);
    ++lines;
}

void ContourEnvelope::merge(const ContourEnvelope& other)
{
    const int common = std::min(seen, other.seen);
    for (int k = 0; k < common; ++k) {
        max[k] = std::max(max[k], other.max[k]);
        min[k] = std::min(min[k], other.min[k]);
        absMax[k] = std::max(absMax[k], other.absMax[k]);
    }
    if (other.seen > seen) {
        max.resize(other.seen);
        min.resize(other.seen);
        absMax.resize(other.seen);
        for (int k = seen; k < other.seen; ++k) {
            max[k] = other.max[k];
            min[k] = other.min[k];
            absMax[k] = other.absMax[k];
        }
        seen = other.seen;
    }
    lines += other.lines;
}

const QVector<double>& ContourEnvelope::values(ContourValue value) const
{
    return value == ContourValue::Maximum ? max : value == ContourValue::Minimum ? min : absMax;
}

void contourScalars(QStringView line, const ContourLayout& layout, const ContourSelection& selection,
                    QVector<double>* out)
{
    if (!layout.applies) {
        out->clear();
        return;
    }
    QVector<double> chosen;
    readContourSlots(line, selection, layout.nodeCount, layout.chosenCount, &chosen);
    if (selection.averaged) {
        QVector<double> sums;
        averageAtNodes(layout, &chosen, &sums);
    }
    contourPoints(layout, chosen, selection.min, selection.max, out);
}

int elementCountOfType(const ModelRecord& model, const QString& elementType)
{
    const int n = completeElements(model);
    return int(std::count(model.elementTypes.cbegin(), model.elementTypes.cbegin() + n, elementType));
}

void scanContourRange(const QStringList& lines, const ModelRecord& model, const ContourSelection& selection,
                      double* min, double* max, const std::function<void(int)>& progress,
                      ContourEnvelope* envelope)
{
    const int p = firstNodeCount(model, selection.elementType);
    const bool readable = p > 0 && selection.columns >= 1 && selection.firstColumn >= 1;
    const int blocks = readable ? elementCountOfType(model, selection.elementType) : 0;
    QVector<double> chosen;
    for (int i = 0; i < lines.size(); ++i) {
        if (progress && i % 100 == 0)
            progress(i);
        if (!readable)
            continue;
        // A block cut short by the end of its line is not read at all.
        const int whole = readContourSlots(lines[i], selection, p, blocks, &chosen) * p;
        for (int k = 0; k < whole; ++k) {
            *max = std::max(*max, chosen[k]);
            *min = std::min(*min, chosen[k]);
        }
        if (envelope)
            envelope->add(chosen, whole);
    }
}

double largestDisplacement(const QStringList& lines, int ndm)
{
    const int taken = std::clamp(ndm, 0, 3);
    double largest = 0.0;
    for (const QString& line : lines) {
        FieldCursor cursor(line);
        const char16_t* b = nullptr;
        const char16_t* e = nullptr;
        cursor.next(&b, &e);  // the time
        for (bool more = true; more;) {
            double squares = 0.0;
            for (int c = 0; c < 3; ++c) {
                if (!cursor.next(&b, &e)) {
                    more = false;
                    break;
                }
                if (c < taken) {
                    const double v = quickNumber(b, e);
                    squares += v * v;
                }
            }
            if (more)
                largest = std::max(largest, squares);
        }
    }
    return std::sqrt(largest);
}
