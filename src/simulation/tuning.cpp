// Tuning off the user-interface thread.
#include "simulation/tuning.h"

#include <span>

namespace pelvaron::simulation {

namespace {

/// The subsystems, nuclei, points and window of a simulation: a result computed for one shape
/// belongs to no other.
bool sameShape(const SimulationState& a, const SimulationState& b) {
    if (a.subsystemsAllocated != b.subsystemsAllocated || a.lastSubsystem != b.lastSubsystem ||
        a.simPoints != b.simPoints || a.simFromHz != b.simFromHz || a.simToHz != b.simToHz ||
        a.spinSubsystems.size() != b.spinSubsystems.size())
        return false;
    for (std::size_t s = 0; s < a.spinSubsystems.size(); ++s)
        if (a.spinSubsystems[s].nNuclei() != b.spinSubsystems[s].nNuclei()) return false;
    return true;
}

}  // namespace

std::unique_ptr<TuningJob> snapshotTuning(const Document& doc, Recompute what) {
    auto job = std::make_unique<TuningJob>();
    job->what = what;
    job->sim = doc.sim;
    if (what == Recompute::Full)
        for (SpinSubsystem& rec : job->sim.spinSubsystems) rec.clearTransitions();
    job->offsetHz = doc.spectrum.acqPars.offsetHz;
    job->nData = doc.spectrum.nData;
    return job;
}

void runTuningJob(TuningJob& job) {
    const SimulationState& sim = job.sim;
    job.computed = false;
    if (!checkSimulation(sim, job.messages)) return;
    const SynthesisSettings settings = synthesisSettingsOf(sim);
    job.computed =
        job.what == Recompute::WidthOnly
            ? resynthesizeSpectrum(subsystemsOf(sim), settings, job.offsetHz, job.result.values, job.messages)
            : simulateSpectrum(subsystemsOf(sim), settings, job.offsetHz, job.result, job.messages);
}

bool applyTuningResult(Document& doc, TuningJob& job) {
    if (!job.computed || !sameShape(doc.sim, job.sim) || doc.spectrum.nData != job.nData) return false;
    const SynthesisSettings settings = synthesisSettingsOf(job.sim);
    zeroForSimulation(doc, settings.points);
    // Tuning never rewrites the axis the document is drawn on.
    addSimulatedCurve(doc, job.result.values);
    if (job.what == Recompute::Full) storeTransitions(doc.sim, job.result, job.messages);
    doc.notify(kDataChanged);
    return true;
}

}  // namespace pelvaron::simulation
