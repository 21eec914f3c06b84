// The interpreter a script is opened in. Opening a script to look at its model must be as harmless
// as opening a picture, so the script runs in a child interpreter that Tcl created safe: it has no
// command that runs a program, opens a connection or changes a file, and no way to reach one.
// What model scripts need of the hidden commands comes back through aliases into the host that
// check their arguments (reading and sourcing files, glob, cd, encoding); writes are answered as
// done, discarded and counted, so that the user can be told what was left undone.
//
//   Tcl_Interp* host = Tcl_CreateInterp();
//   Tcl_Interp* script = createSafeInterpreter(host, &state.undone);  // then the solver's commands
//   ... evaluate in script; statusBar << leftUndoneSummary(state.undone);
#pragma once

#include <QString>

struct Tcl_Interp;
struct LeftUndone;

// Creates the safe child of HOST that a script is evaluated in, with Tcl's library procedures,
// standard error, copies of env and tcl_platform, and the checked aliases. UNDONE counts what the
// script asked to change and did not get; it must outlive HOST. Null if Tcl cannot make the child.
Tcl_Interp* createSafeInterpreter(Tcl_Interp* host, LeftUndone* undone);

// "Opened safely: 2 file writes discarded, 1 folder not created"; empty when nothing was left undone.
QString leftUndoneSummary(const LeftUndone& undone);
