// DiagramResults: the member forces of a run, for the diagrams. Reads the localForce (or
// localForces) file of every element type the run recorded it for, and gives each member's
// MemberDiagram at a step, with the member loads of the model record.
//
//   DiagramResults results;
//   if (!results.load(scriptDir, readRunRecord(scriptDir + "/OutputSetting"), *modelRecord(), &why))
//       say(why);
//   for (const DiagramResults::Member& m : results.membersAt(step, *modelRecord())) draw(m);
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "MemberDiagram.h"

struct ModelRecord;
struct RunRecord;

class DiagramResults {
public:
    // False with *WHY when the run recorded no member forces or their files cannot be read.
    bool load(const QString& scriptDir, const RunRecord& record, const ModelRecord& model, QString* why);
    // Steps of the longest file.
    int stepCount() const;
    bool isEmpty() const { return m_files.isEmpty(); }

    struct Member {
        int entry = -1;  // position in the record's element lists
        int tag = 0;
        MemberDiagram diagram;
    };
    // Every member of the recorded types, in model order, at STEP (from 1); members whose values
    // the step's line lacks, or that have no length, are left out.
    QVector<Member> membersAt(int step, const ModelRecord& model) const;

private:
    struct ForceFile {
        QString type;
        QStringList lines;
        QVector<int> entries;  // the members of the type, in model order (the file's order)
    };
    QVector<ForceFile> m_files;
};

// What the diagrams need when a run recorded no member forces: the response to record in Run and
// the beam-column types of the model.
QString memberForcesNeeded(const ModelRecord& model);
