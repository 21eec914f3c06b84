// ModelInterpreter: one embedded Tcl interpreter in which the solver's command names record the
// model into the model record instead of building it. Create a fresh one for every evaluation.
//
//   ModelInterpreter interpreter;           // resets the model record
//   evaluateScriptFile(interpreter, path);  // fills it, then deletes the Tcl interpreter
#pragma once

#include <memory>

struct Tcl_Interp;
struct InterpreterState;

// Makes Tcl read and write file names in the encoding Qt uses for them.
void useQtFileNameEncoding();

class ModelInterpreter {
public:
    // Resets the model record, creates a Tcl interpreter and registers the command table.
    ModelInterpreter();
    ~ModelInterpreter();
    ModelInterpreter(const ModelInterpreter&) = delete;
    ModelInterpreter& operator=(const ModelInterpreter&) = delete;

    // The Tcl interpreter; null once deleteInterpreter() has run.
    Tcl_Interp* interp() const { return m_interp; }
    // Deletes the Tcl interpreter (closing the channels it holds, such as the script's log).
    void deleteInterpreter();

    // Bookkeeping the commands keep for the host: exit requests and procedure locations.
    InterpreterState& state() const { return *m_state; }

private:
    Tcl_Interp* m_interp = nullptr;
    std::unique_ptr<InterpreterState> m_state;
};
