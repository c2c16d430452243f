// Tuning a simulation off the user-interface thread: a step's recomputation runs on a copy of the
// simulation's subsystems and settings, and the finished spectrum is brought back into the
// document, unless the simulation changed shape (a load, New, another subsystem count) while it
// ran.
#pragma once

#include <memory>
#include <vector>

#include "document/document.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/spin_engine.h"

namespace pelvaron::simulation {

/// One recomputation, taken from the document when it is asked for.
struct TuningJob {
    Recompute what = Recompute::Full;
    SimulationState sim;
    double offsetHz = 0.0;  ///< acqPars.offsetHz, where the spectrum's points lie
    int nData = 0;

    /// What the worker found, in order (and, once applied, what storing the transitions found),
    /// for the user-interface thread to show; and the spectrum.
    Messages messages;
    bool computed = false;
    SimulatedSpectrum result;  ///< after a width-only step, the values alone
};

/// The copy a job works on. For a width-only step the stored transitions come along; a full step
/// computes them anew.
[[nodiscard]] std::unique_ptr<TuningJob> snapshotTuning(const Document& doc, Recompute what);

/// Runs the job (any thread; it touches nothing but the job).
void runTuningJob(TuningJob& job);

/// On the user-interface thread: puts the job's spectrum into `doc`
/// (and, after a full step, the transitions it computed into the records) and tells the
/// views that the data changed; the axis stays as it is. False, with nothing changed, when the document's
/// simulation no longer has the subsystems, nuclei, points and window the job was taken with.
bool applyTuningResult(Document& doc, TuningJob& job);

}  // namespace pelvaron::simulation
