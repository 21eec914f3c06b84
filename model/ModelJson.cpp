#include "ModelJson.h"

#include <cmath>

#include "ModelRecord.h"

namespace {

QByteArray jsonString(const QString& s)
{
    QByteArray out("\"");
    for (const char c : s.toUtf8()) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20)
                    out += "\\u00" +
                           QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
                else
                    out += c;
        }
    }
    return out + '"';
}

// The shortest text that reads back as the same double; JSON has no infinity or NaN.
QByteArray jsonNumber(double v)
{
    if (!std::isfinite(v))
        return "null";
    for (int precision = 15; precision < 17; ++precision) {
        const QByteArray text = QByteArray::number(v, 'g', precision);
        if (text.toDouble() == v)
            return text;
    }
    return QByteArray::number(v, 'g', 17);
}

QByteArray jsonArray(const QVector<int>& list)
{
    QByteArray out("[");
    for (int i = 0; i < list.size(); ++i)
        out += (i ? "," : "") + QByteArray::number(list[i]);
    return out + ']';
}

QByteArray jsonArray(const QVector<double>& list)
{
    QByteArray out("[");
    for (int i = 0; i < list.size(); ++i)
        out += (i ? "," : "") + jsonNumber(list[i]);
    return out + ']';
}

QByteArray jsonArray(const QVector<QString>& list)
{
    QByteArray out("[");
    for (int i = 0; i < list.size(); ++i)
        out += (i ? "," : "") + jsonString(list[i]);
    return out + ']';
}

class Writer {
public:
    void add(const char* key, const QByteArray& value)
    {
        m_out += m_out.isEmpty() ? "{\n" : ",\n";
        m_out += "  \"" + QByteArray(key) + "\": " + value;
    }
    QByteArray finish() { return m_out + "\n}\n"; }

private:
    QByteArray m_out;
};

}  // namespace

QByteArray modelRecordToJson(const ModelRecord& r)
{
    Writer w;
    w.add("statusMessage", jsonString(r.statusMessage));
    w.add("ndf", QByteArray::number(r.ndf));
    w.add("ndm", QByteArray::number(r.ndm));
    w.add("sourceFiles", jsonArray(r.sourceFiles));
    w.add("nodeTags", jsonArray(r.nodeTags));
    w.add("nodeX", jsonArray(r.nodeX));
    w.add("nodeY", jsonArray(r.nodeY));
    w.add("nodeZ", jsonArray(r.nodeZ));
    w.add("nodeSourceFiles", jsonArray(r.nodeSourceFiles));
    w.add("nodeSourceLines", jsonArray(r.nodeSourceLines));
    w.add("elementTypes", jsonArray(r.elementTypes));
    w.add("elementTags", jsonArray(r.elementTags));
    w.add("elementNodeCounts", jsonArray(r.elementNodeCounts));
    static const char* const nodeKeys[] = {"elementNodes1", "elementNodes2", "elementNodes3",
                                           "elementNodes4", "elementNodes5", "elementNodes6",
                                           "elementNodes7", "elementNodes8"};
    for (int k = 1; k <= 8; ++k)
        w.add(nodeKeys[k - 1], jsonArray(r.elementNodes(k)));
    w.add("elementSourceFiles", jsonArray(r.elementSourceFiles));
    w.add("elementSourceLines", jsonArray(r.elementSourceLines));
    w.add("fixNodeTags", jsonArray(r.fixNodeTags));
    static const char* const fixKeys[] = {"fixDofs1", "fixDofs2", "fixDofs3",
                                          "fixDofs4", "fixDofs5", "fixDofs6"};
    for (int k = 1; k <= 6; ++k)
        w.add(fixKeys[k - 1], jsonArray(r.fixDofs(k)));
    w.add("fixSourceFiles", jsonArray(r.fixSourceFiles));
    w.add("fixSourceLines", jsonArray(r.fixSourceLines));
    w.add("equalDofRetainedNodes", jsonArray(r.equalDofRetainedNodes));
    w.add("equalDofConstrainedNodes", jsonArray(r.equalDofConstrainedNodes));
    w.add("equalDofSourceFiles", jsonArray(r.equalDofSourceFiles));
    w.add("equalDofSourceLines", jsonArray(r.equalDofSourceLines));
    w.add("rigidLinkRetainedNodes", jsonArray(r.rigidLinkRetainedNodes));
    w.add("rigidLinkConstrainedNodes", jsonArray(r.rigidLinkConstrainedNodes));
    w.add("rigidLinkSourceFiles", jsonArray(r.rigidLinkSourceFiles));
    w.add("rigidLinkSourceLines", jsonArray(r.rigidLinkSourceLines));
    w.add("geomTransfTypes", jsonArray(r.geomTransfTypes));
    w.add("geomTransfTags", jsonArray(r.geomTransfTags));
    w.add("geomTransfVecxzX", jsonArray(r.geomTransfVecxzX));
    w.add("geomTransfVecxzY", jsonArray(r.geomTransfVecxzY));
    w.add("geomTransfVecxzZ", jsonArray(r.geomTransfVecxzZ));
    w.add("geomTransfOffsetIX", jsonArray(r.geomTransfOffsetIX));
    w.add("geomTransfOffsetIY", jsonArray(r.geomTransfOffsetIY));
    w.add("geomTransfOffsetIZ", jsonArray(r.geomTransfOffsetIZ));
    w.add("geomTransfOffsetJX", jsonArray(r.geomTransfOffsetJX));
    w.add("geomTransfOffsetJY", jsonArray(r.geomTransfOffsetJY));
    w.add("geomTransfOffsetJZ", jsonArray(r.geomTransfOffsetJZ));
    w.add("elementTransformations", jsonArray(r.elementTransformations));
    w.add("patternTags", jsonArray(r.patternTags));
    w.add("patternTypes", jsonArray(r.patternTypes));
    w.add("nodalLoadNodes", jsonArray(r.nodalLoadNodes));
    w.add("nodalLoadPatterns", jsonArray(r.nodalLoadPatterns));
    static const char* const loadKeys[] = {"nodalLoadValues1", "nodalLoadValues2", "nodalLoadValues3",
                                           "nodalLoadValues4", "nodalLoadValues5", "nodalLoadValues6"};
    for (int k = 1; k <= 6; ++k)
        w.add(loadKeys[k - 1], jsonArray(r.nodalLoadValues(k)));
    w.add("elementLoadElements", jsonArray(r.elementLoadElements));
    w.add("elementLoadPatterns", jsonArray(r.elementLoadPatterns));
    w.add("elementLoadTypes", jsonArray(r.elementLoadTypes));
    w.add("elementLoadY", jsonArray(r.elementLoadY));
    w.add("elementLoadZ", jsonArray(r.elementLoadZ));
    w.add("elementLoadX", jsonArray(r.elementLoadX));
    w.add("elementLoadPositions", jsonArray(r.elementLoadPositions));
    w.add("spNodes", jsonArray(r.spNodes));
    w.add("spDofs", jsonArray(r.spDofs));
    w.add("spValues", jsonArray(r.spValues));
    w.add("spPatterns", jsonArray(r.spPatterns));
    w.add("analyzeCount", QByteArray::number(r.analyzeCount));
    w.add("seriesTimes", jsonArray(r.seriesTimes));
    w.add("seriesValues", jsonArray(r.seriesValues));
    w.add("seriesFactor", jsonNumber(r.seriesFactor));
    w.add("seriesStartTime", jsonNumber(r.seriesStartTime));
    w.add("seriesTimeStep", jsonNumber(r.seriesTimeStep));
    w.add("seriesUseLast", r.seriesUseLast ? "true" : "false");
    w.add("seriesPrependZero", r.seriesPrependZero ? "true" : "false");
    return w.finish();
}
