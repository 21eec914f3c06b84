// Per-interpreter bookkeeping shared by the command procedures and the script evaluation:
// whether the script asked to exit, and where each procedure was defined (to place errors).
#pragma once

#include <QHash>
#include <QString>

struct Tcl_Interp;

struct ProcedureDefinition {
    QString file;  // absolute path of the file holding the proc command
    int line = 0;  // line of the proc command in that file
};

struct InterpreterState {
    bool exitRequested = false;
    QHash<QString, ProcedureDefinition> procedures;  // by name as written and by its tail
};

// The state attached to INTERP by ModelInterpreter; null for other interpreters.
InterpreterState* interpreterState(Tcl_Interp* interp);
