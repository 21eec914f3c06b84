// The place in the script files of the command now running, for the commands that record items:
// each item keeps an index into the record's sourceFiles and a line, so that the view can say
// which command made what it shows.
//
//   const SourceLocation at = currentSourceLocation(interp, objv[0]);
//   appendSourceLocation(at, model.nodeSourceFiles, model.nodeSourceLines);
#pragma once

#include <QVector>

struct Tcl_Interp;
struct Tcl_Obj;

struct SourceLocation {
    int file = -1;  // index into the model record's sourceFiles; -1 when the command ran from no file
    int line = 0;   // 1-based; 0 when unknown
};

// COMMAND is the running command's first word. Adds the file to the record's sourceFiles when it
// is new there.
SourceLocation currentSourceLocation(Tcl_Interp* interp, Tcl_Obj* command);

inline void appendSourceLocation(const SourceLocation& at, QVector<int>& files, QVector<int>& lines)
{
    files.append(at.file);
    lines.append(at.line);
}
