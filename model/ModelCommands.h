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
int timeSeriesCommand(ClientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]);
int eigenCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// fixX, fixY and fixZ: restraints of every node at one coordinate.
int fixXCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int fixYCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int fixZCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// block2D and block3D: structured meshes, their elements made through the element command.
int block2DCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int block3DCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// Queries answered from the model record and the analysis clock.
int getNodeTagsCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getEleTagsCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getNumElementsCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int nodeCoordCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int eleNodesCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getNdmCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getNdfCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int nodeDofsCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getNpCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getPidCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int getTimeCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int setTimeCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int loadConstCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int integratorCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int wipeAnalysisCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// Registers the response queries (nodeDisp, eleForce, ...), which answer zeros.
void registerResponseQueries(Tcl_Interp* interp);

// Records one element of CANONICAL type with NODECOUNT node tags read from the words; a failure
// records nothing.
int storeElement(const QString& canonical, int nodeCount, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

}  // namespace modelcommands
