// Tuning a simulation off the user-interface thread: a step's recomputation runs on a copy of the
// simulation and its axis, and the finished spectrum is brought back into the document, unless
// the simulation changed shape (a load, New, another subsystem count) while it ran.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"
#include "simulation/simulation_dialogs.h"

namespace pelvaron::simulation {

/// One recomputation, taken from the document when it is asked for.
struct TuningJob {
    Recompute what = Recompute::Full;
    SimulationState sim;
    AcqParams acqPars;
    int nData = 0;

    /// What the worker found: the messages it would have shown, in order.
    struct Message {
        std::string text;
        std::string caption;
        platform::Icon icon = platform::Icon::None;
    };
    std::vector<Message> messages;
    bool computed = false;
};

/// The copy a job works on. For a width-only step the stored transitions come along; a full step
/// computes them anew.
[[nodiscard]] std::unique_ptr<TuningJob> snapshotTuning(const Document& doc, Recompute what);

/// Runs the job on `scratch`, a document of its own (any thread; nothing else touches either).
void runTuningJob(TuningJob& job, Document& scratch);

/// On the user-interface thread: shows the job's messages, then copies its spectrum (and, after a
/// full step, the transitions it computed) into `doc` and asks for a repaint. False, with
/// nothing changed, when the document's simulation no longer has the subsystems, nuclei, points
/// and window the job was taken with.
bool applyTuningResult(Document& doc, platform::UserInterface& ui, TuningJob& job, Document& scratch);

}  // namespace pelvaron::simulation
