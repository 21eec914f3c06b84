// Finds the file and line of the command that raised a script error, from Tcl's error information
// and the source files, so that an editor can mark the failing line even inside loops, procedures
// and sourced files.
#pragma once

#include <QString>

struct InterpreterState;

struct ErrorLocation {
    QString file;  // absolute path; empty when unknown
    int line = 0;  // 1-based; 0 when unknown
};

// ERRORINFO is Tcl's errorInfo of the failed evaluation; STATE knows where procedures were
// defined. Relative file names are resolved against the process's current directory.
ErrorLocation locateError(const QString& errorInfo, const InterpreterState& state);
