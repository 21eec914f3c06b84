// Evaluation of one script file in a fresh ModelInterpreter: the steps the main window and the
// batch commands share (directory change, "Tolvane.log", evaluation, status, interpreter deletion).
//
//   ModelInterpreter interpreter;
//   const EvaluationResult r = evaluateScriptFile(interpreter, path);
//   if (r.code != 0) markLine(r.errorFile, r.errorLine);
#pragma once

#include <QString>
#include <functional>

class ModelInterpreter;

struct EvaluationResult {
    bool readable = true;  // false when the script file cannot be read (nothing evaluated)
    int code = 0;          // Tcl return code of the file evaluation (TCL_OK == 0); exit/quit count as TCL_OK
    QString result;        // the interpreter's string result, read as UTF-8
    QString errorInfo;     // Tcl's errorInfo when code != TCL_OK
    int errorLine = 0;     // line of the error in errorFile, 0 if unknown
    QString errorFile;  // absolute path of the file the error happened in (the script or a file it sourced)
    QString encoding;   // Qt codec name the script was read in: "UTF-8", "GBK", "windows-1252", ...
    // What the script defined that the record does not hold, for the status bar; empty when nothing
    // was left out. "12 elements of 2 types not drawn: ASDShellQ4 (8), mixedBeamColumn (4)", or
    // "The script ends with wipe: the model before it is shown".
    QString leftOut;
    bool stopped = false;  // the watch asked to stop; the error line is where the script then was
    // What a safely opened script asked to change on disk and did not get, for the status bar;
    // "Opened safely: 2 file writes discarded, 1 folder not created", or empty.
    QString leftUndone;
    // The error came after the script's first analyze: the model was complete by then (post-
    // processing of the solver's own output failed here), so it is drawn and can be run.
    bool afterAnalysis = false;

    // The model can be drawn and run: no error, or one after the first analysis.
    bool modelComplete() const { return readable && (code == 0 || afterAnalysis); }
};

// Asked every few tens of milliseconds while a script runs, from inside the evaluation (the
// caller may process its events there); false stops the script where it stands, through every
// catch, as an error "Interpretation stopped".
using EvaluationWatch = std::function<bool()>;

// Makes the script's directory the process's current directory, sends the script's standard
// output to "Tolvane.log" there, sets argv0, argv and argc as tclsh does, evaluates the file in
// the encoding detectScriptEncoding() finds for it, puts the error text into the model record's
// statusMessage on failure, and deletes the Tcl interpreter. The model record keeps what the
// script recorded, also after an error; when a final wipe emptied it, it holds the model that wipe
// dropped. An unreadable script changes nothing but statusMessage.
EvaluationResult evaluateScriptFile(ModelInterpreter& interpreter, const QString& scriptPath,
                                    const EvaluationWatch& keepGoing = {});

// "Success!", followed by the left-out and left-undone summaries when there are any.
QString evaluationSuccessText(const EvaluationResult& result);

// "Stopped at file:line after the first analysis: message — the model is complete; Run hands the
// script to the solver", for an evaluation whose error came after the first analyze.
QString evaluationStoppedAfterAnalysisText(const EvaluationResult& result);

// "file:line: message" for a failed evaluation (the location only when it is known), the message
// being the model record's status text as the status bar shows it.
QString evaluationErrorText(const EvaluationResult& result);
