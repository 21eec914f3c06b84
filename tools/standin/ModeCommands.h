// The stand-in's eigen, nodeEigenvector and modalProperties, and the mass bookkeeping the last
// needs (node -mass and mass): they answer with the synthetic modes of SyntheticModes.h, in the
// forms the solver's commands have. Registered over the model interpreter's own commands.
//
//   StandinModes modes;
//   registerModeCommands(interp, &modes);   // wipe: modes.clear()
#pragma once

#include <tcl.h>

#include "SyntheticModes.h"

struct StandinModes {
    SyntheticModes modes;  // of the last eigen; none before it
    bool hasMass = false;  // a node mass was given since the last wipe
    Tcl_CmdInfo recordNode{};
    Tcl_CmdInfo zeroEigenvector{};

    void clear()
    {
        modes = SyntheticModes();
        hasMass = false;
    }
};

void registerModeCommands(Tcl_Interp* interp, StandinModes* modes);
