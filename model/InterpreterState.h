// Per-interpreter bookkeeping shared by the command procedures and the script evaluation:
// whether the script asked to exit, where each procedure was defined (to place errors), the
// analysis clock the queries answer from, what the model record leaves out, and what a safely
// opened script asked to change on disk and did not.
#pragma once

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

#include "ModelRecord.h"

struct Tcl_Interp;

struct ProcedureDefinition {
    QString file;  // absolute path of the file holding the proc command
    int line = 0;  // line of the proc command in that file
};

// Domain time and the increment an analysis step adds to it; wipe resets both.
struct AnalysisClock {
    double time = 0.0;
    bool hasLoadIncrement = false;  // the last integrator was LoadControl with a readable dLambda
    double loadIncrement = 0.0;
};

// Element commands the solver accepts but the record does not hold, since the last wipe.
struct LeftOut {
    QMap<QString, int> elementTypes;  // type name as typed -> number of element commands
    QSet<int> elementTags;            // so that queries on those elements do not fail
    bool wipedModel = false;          // a wipe dropped a record that held something
};

// Where each tag first occurs in the record's node and element lists, extended as the lists grow:
// queries inside loops over 50,000 nodes must not scan the list each time. Wipe empties it.
struct RecordIndex {
    QHash<int, int> nodes;
    QHash<int, int> elements;
    int nodesIndexed = 0;
    int elementsIndexed = 0;
};

// Changes to files and folders that a script opened safely asked for; each was answered as done.
struct LeftUndone {
    enum Kind {
        FileWrites,
        FoldersCreated,
        FilesDeleted,
        FilesRenamed,
        FilesCopied,
        LinksMade,
        AttributesSet,
        Kinds
    };
    int count[Kinds] = {};
};

// The last model a wipe dropped: a script that ends with wipe, a common clean-up, still shows
// and runs the model it built.
struct WipedModel {
    bool held = false;
    ModelRecord record;
    LeftOut leftOut;
};

struct InterpreterState {
    bool exitRequested = false;
    bool analyzed = false;                           // an analyze ran, whatever wipe came after it
    QHash<QString, ProcedureDefinition> procedures;  // by name as written and by its tail
    AnalysisClock clock;
    LeftOut leftOut;
    RecordIndex index;
    WipedModel wiped;
    QVector<int> nodeDofs;  // each recorded node's number of DOFs, parallel to the record's node list
    LeftUndone undone;
};

// The state attached to INTERP by ModelInterpreter; null for other interpreters.
InterpreterState* interpreterState(Tcl_Interp* interp);
