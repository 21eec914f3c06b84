#include "ResultParsing.h"

#include <algorithm>
#include <charconv>
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

double normalised(double value, const ContourSelection& s)
{
    // An all-zero result has no range: show it in the middle colour.
    if (s.max == s.min)
        return 0.5;
    return (value - s.min) / (s.max - s.min);
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
    const int n = completeElements(model);
    for (int i = 0; i < n; ++i) {
        if (model.elementNodeCounts[i] != nodeCount)
            continue;
        for (int c = 1; c <= nodeCount; ++c) {
            if (index.position(model.elementNodes(c)[i]) < 0)
                return layout;
        }
        layout.blocks.append(model.elementTypes[i] == elementType ? layout.chosenCount++ : -1);
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

void contourScalars(QStringView line, const ContourLayout& layout, const ContourSelection& selection,
                    QVector<double>* out)
{
    out->clear();
    if (!layout.applies)
        return;
    const int p = layout.nodeCount;
    const int step = stride(selection, p);
    const int w = selection.columns;
    // Chosen blocks come in file order, so one pass along the line serves every element.
    FieldCursor cursor(line);
    bool more = w >= 1 && selection.firstColumn >= 1;
    const double zero = normalised(0.0, selection);
    out->reserve(layout.blocks.size() * p);
    for (int block : layout.blocks) {
        double value = 0.0;
        for (int c = 0; c < p; ++c) {
            if (block < 0) {
                out->append(0.5);
                continue;
            }
            if (more && (c == 0 || step > 0))
                more = cursor.readAt(selection.firstColumn + block * w + c * step, &value);
            out->append(more ? normalised(value, selection) : zero);
        }
    }
}

void scanContourRange(const QStringList& lines, const ModelRecord& model, const ContourSelection& selection,
                      double* min, double* max, const std::function<void(int)>& progress)
{
    const int p = firstNodeCount(model, selection.elementType);
    const bool readable = p > 0 && selection.columns >= 1 && selection.firstColumn >= 1;
    const int step = stride(selection, p);
    for (int i = 0; i < lines.size(); ++i) {
        if (progress && i % 100 == 0)
            progress(i);
        if (!readable)
            continue;
        FieldCursor cursor(lines[i]);
        double value = 0.0;
        for (int j = selection.firstColumn;; j += selection.columns) {
            // Read the whole block before using it: a cut block is not read at all.
            double block[8];
            int c = 0;
            for (; c < p; ++c) {
                if (c > 0 && step == 0)
                    block[c] = block[0];
                else if (cursor.readAt(j + c * step, &value))
                    block[c] = value;
                else
                    break;
            }
            if (c < p)
                break;
            for (c = 0; c < p; ++c) {
                *max = std::max(*max, block[c]);
                *min = std::min(*min, block[c]);
            }
        }
    }
}
