#include "Recorder.h"

#include <cstring>
#include <utility>

#include "ModelCommands.h"
#include "ResponseWidth.h"
#include "SyntheticMotion.h"

using modelcommands::readInt;
using modelcommands::text;

namespace {

using OptionReader = bool (*)(Tcl_Obj* const* args, RecorderRequest& r);

struct Option {
    const char* name;
    int argumentCount;
    OptionReader read;
};

bool skip(Tcl_Obj* const*, RecorderRequest&)
{
    return true;
}

// Options with a fixed number of arguments. Other output formats and sampling controls are
// accepted and have no effect.
const Option fixedOptions[] = {
    {"-file", 1,
     [](Tcl_Obj* const* a, RecorderRequest& r) {
         r.file = Tcl_GetString(a[0]);
         return !r.file.isEmpty();
     }},
    {"-tcp", 2,
     [](Tcl_Obj* const* a, RecorderRequest& r) {
         r.tcp = true;
         r.host = Tcl_GetString(a[0]);
         return readInt(a[1], &r.port);
     }},
    {"-time", 0, [](Tcl_Obj* const*, RecorderRequest& r) { return r.time = true; }},
    {"-precision", 1,
     [](Tcl_Obj* const* a, RecorderRequest& r) { return readInt(a[0], &r.precision) && r.precision > 0; }},
    {"-dT", 1, skip},
    {"-timeSeries", 1, skip},
    {"-region", 1, skip},
    {"-xml", 1, skip},
    {"-binary", 1, skip},
    {"-closeOnWrite", 0, skip},
};

// Options followed by any number of integers.
struct ListOption {
    const char* name;
    QVector<int> RecorderRequest::*list;
};

const ListOption listOptions[] = {
    {"-node", &RecorderRequest::tags},
    {"-ele", &RecorderRequest::tags},
    {"-element", &RecorderRequest::tags},
    {"-dof", &RecorderRequest::dofs},
};

const char* const tagRanges[] = {"-nodeRange", "-eleRange"};

const ListOption* listOption(const char* word)
{
    for (const ListOption& option : listOptions)
        if (std::strcmp(word, option.name) == 0)
            return &option;
    return nullptr;
}

bool isTagRange(const char* word)
{
    for (const char* name : tagRanges)
        if (std::strcmp(word, name) == 0)
            return true;
    return false;
}

const Option* fixedOption(const char* word)
{
    for (const Option& option : fixedOptions)
        if (std::strcmp(word, option.name) == 0)
            return &option;
    return nullptr;
}

// Reads the integers from objv[*i] on into LIST; *i is left on the first word that is not one.
void readIntegers(int objc, Tcl_Obj* const objv[], int* i, QVector<int>* list)
{
    int value = 0;
    while (*i < objc && readInt(objv[*i], &value)) {
        list->append(value);
        ++*i;
    }
}

}  // namespace

QString parseRecorder(int objc, Tcl_Obj* const objv[], int ndf, RecorderRequest* request)
{
    RecorderRequest& r = *request;
    r.isElement = std::strcmp(Tcl_GetString(objv[1]), "Element") == 0;
    const QString name = QStringLiteral("WARNING recorder %1: ").arg(text(objv[1]));
    int i = 2;
    while (i < objc) {
        const char* word = Tcl_GetString(objv[i]);
        if (const ListOption* option = listOption(word)) {
            ++i;
            readIntegers(objc, objv, &i, &(r.*option->list));
        } else if (isTagRange(word)) {
            int first = 0, last = 0;
            if (i + 2 >= objc || !readInt(objv[i + 1], &first) || !readInt(objv[i + 2], &last))
                return name + QStringLiteral("%1 needs two tags").arg(QLatin1String(word));
            for (qint64 tag = first; tag <= last; ++tag)
                r.tags.append(int(tag));
            i += 3;
        } else if (const Option* option = fixedOption(word)) {
            if (i + option->argumentCount >= objc || !option->read(objv + i + 1, r))
                return name + QStringLiteral("bad arguments for %1").arg(QLatin1String(word));
            i += 1 + option->argumentCount;
        } else {
            r.response = text(objv[i]);
            break;
        }
    }
    if (r.response.isEmpty())
        return name + QStringLiteral("no response type given");
    if (!r.isElement && r.dofs.isEmpty())
        for (int dof = 1; dof <= ndf; ++dof)
            r.dofs.append(dof);
    return QString();
}

Recorder::Recorder(RecorderRequest request) : m_request(std::move(request)) {}

QStringList Recorder::open()
{
    QStringList problems;
    if (!m_request.file.isEmpty()) {
        m_file = std::fopen(m_request.file.constData(), "w");
        if (!m_file)
            problems << QStringLiteral("WARNING tolvane-standin: cannot open %1 for writing, recorder off")
                            .arg(QString::fromUtf8(m_request.file));
    }
    std::string reason;
    if (m_request.tcp && !m_stream.connectTo(m_request.host.toStdString(), m_request.port, &reason))
        problems << QStringLiteral("WARNING tolvane-standin: no listener at %1:%2, live stream off (%3)")
                        .arg(QString::fromUtf8(m_request.host))
                        .arg(m_request.port)
                        .arg(QString::fromStdString(reason));
    return problems;
}

void Recorder::prepare(const MotionShapes& shapes)
{
    m_unit.clear();
    const QString& response = m_request.response;
    for (int tag : m_request.tags) {
        if (m_request.isElement) {
            const QVector<double>* forces =
                response == QLatin1String("localForce") || response == QLatin1String("localForces")
                    ? shapes.memberForces(tag)
                    : nullptr;
            if (forces) {
                m_unit += *forces;
                continue;
            }
            const MotionElement* e = shapes.element(tag);
            const int width = e ? elementResponseWidth(e->type, e->nodeCount, response, shapes.ndf())
                                : elementResponseWidth(QString(), 0, response, shapes.ndf());
            for (int j = 0; j < width; ++j)
                m_unit.append(shapes.elementValue(tag, j, width));
            continue;
        }
        for (int dof : m_request.dofs) {
            if (response == QLatin1String("disp"))
                m_unit.append(shapes.displacement(tag, dof));
            else if (response == QLatin1String("reaction"))
                m_unit.append(shapes.reaction(tag, dof));
            else
                m_unit.append(0.0);
        }
    }
}

void Recorder::record(double time, double factor)
{
    m_row.clear();
    if (m_request.time)
        m_row.append(time);
    for (double unit : m_unit)
        m_row.append(unit * factor);
    writeLine();
    if (!m_stream.isOpen())
        return;
    if (!m_headerSent) {
        const double size = m_row.size();
        m_headerSent = m_stream.send(&size, 1);
    }
    sendRecord(m_row.size());
}

void Recorder::writeLine()
{
    if (!m_file)
        return;
    m_line.clear();
    char number[64];
    for (int i = 0; i < m_row.size(); ++i) {
        std::snprintf(number, sizeof number, i == 0 ? "%.*g" : " %.*g", m_request.precision, m_row[i]);
        m_line += number;
    }
    m_line += '\n';
    std::fwrite(m_line.data(), 1, m_line.size(), m_file);
    // The application may read the file after the run was killed.
    std::fflush(m_file);
}

void Recorder::sendRecord(double first)
{
    QVector<double> message;
    message.reserve(m_row.size() + 1);
    message.append(first);
    message += m_row;
    if (!m_stream.send(message.constData(), std::size_t(message.size())))
        std::fprintf(stderr, "WARNING tolvane-standin: the listener at %s:%d went away, live stream off\n",
                     m_request.host.constData(), m_request.port);
}

void Recorder::close()
{
    // Without a first record the listener never got the count, so a close record would be misread.
    if (m_stream.isOpen() && m_headerSent)
        sendRecord(-1.0);
    m_stream.close();
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}
