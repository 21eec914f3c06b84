#include "DiagramResults.h"

#include <QHash>

#include "ElementResponseTable.h"

#include "LocalAxes.h"
#include "ModelRecord.h"
#include "ResultFile.h"
#include "RunRecord.h"

namespace {

bool isMemberForces(const QString& response)
{
    return response == QLatin1String("localForce") || response == QLatin1String("localForces");
}

}  // namespace

bool DiagramResults::load(const QString& scriptDir, const RunRecord& record, const ModelRecord& model,
                          QString* why)
{
    m_files.clear();
    QStringList unreadable;
    for (const QStringList& setting : record.settings) {
        const QString type = setting.value(0);
        for (int r = 1; r < setting.size(); ++r) {
            if (!isMemberForces(setting[r]))
                continue;
            ForceFile file;
            file.type = type;
            const QString path = scriptDir + QStringLiteral("/TolvaneResult/%1_%2.file").arg(type, setting[r]);
            if (!readResultLines(path, &file.lines)) {
                unreadable << path;
                break;
            }
            const int n = qMin(model.elementTypes.size(), model.elementNodeCounts.size());
            for (int i = 0; i < n; ++i)
                if (model.elementTypes[i] == type && model.elementNodeCounts[i] == 2)
                    file.entries.append(i);
            if (!file.entries.isEmpty())
                m_files.append(file);
            break;  // one file per type: localForce and localForces hold the same values
        }
    }
    if (!m_files.isEmpty())
        return true;
    if (why)
        *why = !unreadable.isEmpty() ? QStringLiteral("Cannot read %1.").arg(unreadable.join(QStringLiteral(", ")))
                                     : memberForcesNeeded(model);
    return false;
}

int DiagramResults::stepCount() const
{
    int steps = 0;
    for (const ForceFile& f : m_files)
        steps = qMax(steps, f.lines.size());
    return steps;
}

QVector<DiagramResults::Member> DiagramResults::membersAt(int step, const ModelRecord& model) const
{
    QVector<Member> members;
    if (step < 1)
        return members;
    const MemberGeometry geometry(model);
    // Member loads by element tag, in local axes; positions become distances once the length is known.
    QHash<int, QVector<MemberLoad>> loads;
    const int loadCount = model.elementLoadElements.size();
    for (int k = 0; k < loadCount; ++k) {
        MemberLoad load;
        load.point = model.elementLoadTypes[k] == QLatin1String("beamPoint");
        load.y = model.elementLoadY[k];
        load.z = model.elementLoadZ[k];
        load.x = model.elementLoadX[k];
        load.at = model.elementLoadPositions[k];
        loads[model.elementLoadElements[k]].append(load);
    }
    for (const ForceFile& file : m_files) {
        if (step > file.lines.size())
            continue;
        const QVector<double> values = resultLineValues(file.lines[step - 1]);
        // Six values per member in 2-D, twelve in 3-D; the line says which.
        const int width = values.size() / file.entries.size();
        if (width != 6 && width != 12)
            continue;
        for (int e = 0; e < file.entries.size(); ++e) {
            const int entry = file.entries[e];
            const double length = geometry.axes(entry).length;
            if (!(length > 0.0))
                continue;
            QVector<MemberLoad> own = loads.value(model.elementTags[entry]);
            for (MemberLoad& load : own)
                load.at *= length;
            members.append({entry, model.elementTags[entry],
                            MemberDiagram(length, values.mid(e * width, width), own)});
        }
    }
    return members;
}

QString memberForcesNeeded(const ModelRecord& model)
{
    QStringList types, wanted;
    const int n = qMin(model.elementTypes.size(), model.elementTransformations.size());
    for (int i = 0; i < n; ++i) {
        const QString& type = model.elementTypes[i];
        if (model.elementTransformations[i] < 0 || types.contains(type))
            continue;
        types << type;
        // The name the Run dialog offers for the type.
        const QStringList responses = responsesOf(type);
        wanted << QStringLiteral("%1 of %2").arg(
            responses.contains(QStringLiteral("localForces")) ? QStringLiteral("localForces")
                                                               : QStringLiteral("localForce"),
            type);
    }
    if (types.isEmpty())
        return QStringLiteral("The model has no beam-columns: member force diagrams need elements with a "
                              "coordinate transformation.");
    return QStringLiteral("Member force diagrams need a run that records %1 (File > Run Tcl File).")
        .arg(wanted.join(QStringLiteral(", ")));
}
