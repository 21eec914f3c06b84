// ModelInterpreter: one embedded Tcl interpreter in which the solver's command names record the
// model into the model record instead of building it. Create a fresh one for every evaluation.
// The script runs in a safe interpreter (SafeInterpreter.h) unless the user trusts scripts.
//
//   ModelInterpreter interpreter;           // resets the model record
//   evaluateScriptFile(interpreter, path);  // fills it, then deletes the Tcl interpreter
#pragma once

#include <memory>

struct Tcl_Interp;
struct InterpreterState;

// Makes Tcl read and write file names in the encoding Qt uses for them.
void useQtFileNameEncoding();

// Safe: nothing the script does runs a program, opens a connection or changes a file.
// Whole: the script has the whole of Tcl, as under the solver's own shell.
enum class ScriptTrust { Safe, Whole };

class ModelInterpreter {
public:
    // Resets the model record, creates a Tcl interpreter and registers the command table.
    explicit ModelInterpreter(ScriptTrust trust = ScriptTrust::Safe);
    ~ModelInterpreter();
    ModelInterpreter(const ModelInterpreter&) = delete;
    ModelInterpreter& operator=(const ModelInterpreter&) = delete;

    // The Tcl interpreter the script runs in; null once deleteInterpreter() has run.
    Tcl_Interp* interp() const { return m_interp; }
    // Deletes the Tcl interpreter (closing the channels it holds, such as the script's log).
    void deleteInterpreter();

    // Bookkeeping the commands keep for the host: exit requests, procedure locations, what was left undone.
    InterpreterState& state() const { return *m_state; }

private:
    Tcl_Interp* m_host = nullptr;  // owns m_interp when the script runs safe, else the same
    Tcl_Interp* m_interp = nullptr;
    std::unique_ptr<InterpreterState> m_state;
};
