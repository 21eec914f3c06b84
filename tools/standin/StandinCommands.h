// The solver commands the stand-in acts on, registered over the model interpreter's own:
// recorder, integrator, analyze, getTime, wipe, exit and quit, and those of ModeCommands.h. They
// share one StandinRun, which keeps the pseudo-time, the step count, the open recorders and the modes.
//
//   ModelInterpreter interpreter;
//   StandinRun run;
//   registerStandinCommands(interpreter.interp(), &run);
//   evaluate the script ...;  run.closeRecorders();
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "ModeCommands.h"
#include "Recorder.h"
#include "SyntheticMotion.h"

struct Tcl_Interp;

class StandinRun {
public:
    explicit StandinRun(int stepDelayMs) : m_stepDelayMs(stepDelayMs) {}

    double time() const { return m_time; }
    void addRecorder(std::unique_ptr<Recorder> recorder);
    int recorderCount() const { return int(m_recorders.size()); }
    void setLoadIncrement(double increment);
    // STEPS steps of DT each, or of the load increment when DT is null (1 without one).
    void analyze(int steps, const double* dt);
    void closeRecorders();
    // Recorders closed, time and step count back to 0, the integrator forgotten.
    void wipe();

    // The modes of the last eigen and the mass they need.
    StandinModes modes;

private:
    void prepareRecorders();

    double m_time = 0.0;
    int m_step = 0;  // k of the last step
    double m_loadIncrement = 1.0;
    int m_stepDelayMs = 0;
    std::vector<std::unique_ptr<Recorder>> m_recorders;
    std::unique_ptr<MotionShapes> m_shapes;
    std::array<int, 5> m_shapedModel{};  // the sizes the shapes were built for
    std::size_t m_prepared = 0;          // recorders prepared for m_shapes
};

void registerStandinCommands(Tcl_Interp* interp, StandinRun* run);
