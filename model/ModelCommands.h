// The Tcl command procedures of the model interpreter, one per acting command, and the
// helpers they share for reading words and reporting failures.
#pragma once

#include <tcl.h>

#include <QString>

namespace modelcommands {

// Writes MESSAGE into the model record's statusMessage and returns TCL_ERROR; the interpreter's
// own result stays empty, so the host shows this text.
int fail(const QString& message);

// Word reading that never touches the interpreter's result.
bool readInt(Tcl_Obj* word, int* value);
bool readDouble(Tcl_Obj* word, double* value);
QString text(Tcl_Obj* word);

int modelCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int nodeCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int analyzeCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int wipeCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int elementCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int fixCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int equalDofCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int rigidLinkCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int timeSeriesCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int eigenCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// Records one element of CANONICAL type with NODECOUNT node tags read from the words.
int storeElement(const QString& canonical, int nodeCount, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

}  // namespace modelcommands
