// Tuning off the user-interface thread.
#include "simulation/tuning.h"

#include <span>

#include "platform/null_ui.h"

namespace pelvaron::simulation {

namespace {

/// Keeps the messages of a job for the user-interface thread; answers OK.
class DeferredMessages final : public platform::NullUserInterface {
public:
    explicit DeferredMessages(std::vector<TuningJob::Message>& log) : log_(log) {}
    platform::Answer message(std::string_view text, std::string_view caption, platform::Icon icon,
                             platform::Buttons) override {
        log_.push_back({std::string(text), std::string(caption), icon});
        return platform::Answer::Ok;
    }

private:
    std::vector<TuningJob::Message>& log_;
};

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
    DeferredMessages ui(job.messages);
    const SimulationState& sim = job.sim;
    job.computed = false;
    if (!checkSimulation(sim, ui)) return;
    const SynthesisSettings settings = synthesisSettingsOf(sim);
    job.computed =
        job.what == Recompute::WidthOnly
            ? resynthesizeSpectrum(subsystemsOf(sim), settings, job.offsetHz, job.result.values, ui)
            : simulateSpectrum(subsystemsOf(sim), settings, job.offsetHz, job.result, ui);
}

bool applyTuningResult(Document& doc, platform::UserInterface& ui, TuningJob& job) {
    for (const TuningJob::Message& m : job.messages) ui.message(m.text, m.caption, m.icon);
    if (!job.computed || !sameShape(doc.sim, job.sim) || doc.spectrum.nData != job.nData) return false;
    const SynthesisSettings settings = synthesisSettingsOf(job.sim);
    zeroForSimulation(doc, settings.points);
    // Tuning never rewrites the axis the document is drawn on.
    addSimulatedCurve(doc, job.result.values);
    if (job.what == Recompute::Full) storeTransitions(doc.sim, job.result, ui);
    doc.notify(kDataChanged);
    return true;
}

}  // namespace pelvaron::simulation
