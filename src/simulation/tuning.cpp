// Tuning off the user-interface thread.
#include "simulation/tuning.h"

#include <algorithm>

#include "platform/null_ui.h"
#include "simulation/spin_engine.h"

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
        if (a.spinSubsystems[s].nNuclei != b.spinSubsystems[s].nNuclei) return false;
    return true;
}

}  // namespace

std::unique_ptr<TuningJob> snapshotTuning(const Document& doc, Recompute what) {
    auto job = std::make_unique<TuningJob>();
    job->what = what;
    job->sim = doc.sim;
    if (what == Recompute::Full)
        for (SpinSubsystem& rec : job->sim.spinSubsystems) rec.transFreq = {}, rec.transIntens = {};
    job->acqPars = doc.spectrum.acqPars;
    job->nData = doc.spectrum.nData;
    return job;
}

void runTuningJob(TuningJob& job, Document& scratch) {
    DeferredMessages ui(job.messages);
    scratch.sim = job.sim;
    scratch.spectrum.acqPars = job.acqPars;
    scratch.spectrum.nData = job.nData;
    // Tuning never rewrites the axis the document is drawn on.
    scratch.sim.simInteractive = 1;
    scratch.sim.simUpdateDocument = 0;
    job.computed = job.what == Recompute::WidthOnly ? resynthesizeSimulation(scratch, ui)
                                                    : recomputeSimulation(scratch, ui);
}

bool applyTuningResult(Document& doc, platform::UserInterface& ui, TuningJob& job, Document& scratch) {
    for (const TuningJob::Message& m : job.messages) ui.message(m.text, m.caption, m.icon);
    if (!job.computed || !sameShape(doc.sim, job.sim) || doc.spectrum.nData != job.nData) return false;
    const int count = std::clamp(std::max(job.nData, job.sim.simPoints), 0, kCapacity);
    doc.spectrum.specData.copyFrom(scratch.spectrum.specData, count);
    doc.spectrum.noteSpecExtent(count);
    doc.spectrum.referenceSource = ReferenceSource::Simulation;
    doc.spectrum.recorded = {};
    if (job.what == Recompute::Full) {
        for (std::size_t s = 0; s < doc.sim.spinSubsystems.size(); ++s) {
            SpinSubsystem& rec = doc.sim.spinSubsystems[s];
            SpinSubsystem& done = scratch.sim.spinSubsystems[s];
            rec.transFreq = std::move(done.transFreq);
            rec.transIntens = std::move(done.transIntens);
        }
    }
    ui.requestRepaint();
    return true;
}

}  // namespace pelvaron::simulation
