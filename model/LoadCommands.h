// The commands that record how members are oriented and loaded: geomTransf, pattern (whose body
// is evaluated as the solver does), load, eleLoad and sp; and the transformation tag that a
// beam-column's own arguments name.
#pragma once

#include <tcl.h>

#include <QString>

namespace modelcommands {

int geomTransfCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int patternCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int loadCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int eleLoadCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);
int spCommand(ClientData, Tcl_Interp*, int objc, Tcl_Obj* const objv[]);

// The transformation tag in the words of `element TYPE tag n1 .. nN args...` for an element of
// CANONICAL type with NODECOUNT node tags in a model of NDM dimensions; -1 when the type takes
// none or its argument form is not one the table knows.
int elementTransformationTag(const QString& canonical, int ndm, int nodeCount, int objc,
                             Tcl_Obj* const objv[]);

}  // namespace modelcommands
