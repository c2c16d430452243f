// The Interactive Sim. dialog's recomputations in the window.
#include "gui/simulation_tuner.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>

#include "simulation/spin_engine.h"

namespace pelvaron::gui {

namespace {

using simulation::Recompute;

int slot(Recompute what) { return what == Recompute::Full ? 0 : 1; }

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

/// The largest subsystem: before a first run, one of nine or ten nuclei is taken to be slow.
int largestSubsystem(const SimulationState& sim) {
    int n = 0;
    for (int s = 0; s <= sim.lastSubsystem && s < static_cast<int>(sim.spinSubsystems.size()); ++s)
        n = std::max(n, sim.spinSubsystems[static_cast<std::size_t>(s)].nNuclei());
    return n;
}

}  // namespace

SimulationTuner::SimulationTuner(Document& doc, platform::UserInterface& ui, QObject* parent)
    : QObject(parent), doc_(doc), ui_(ui), worker_([this] { work(); }) {}

SimulationTuner::~SimulationTuner() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

bool SimulationTuner::runsAtOnce(Recompute what) const {
    const double ms = lastMs_[slot(what)];
    if (ms >= 0.0) return ms < kFrameMs;
    return largestSubsystem(doc_.sim) < 9;
}

void SimulationTuner::recompute(Recompute what, simulation::Messages& said) {
    if (busy()) {
        // Only the latest step waits; a full step keeps its place over a width-only one, whose
        // stored transitions would otherwise be those of an older shift.
        // A width-only step's transitions are taken when it starts, after the running step.
        pending_ = pending_ == Recompute::Full ? Recompute::Full : what;
        return;
    }
    if (!runsAtOnce(what)) {
        start(what);
        return;
    }
    const auto begin = std::chrono::steady_clock::now();
    ui_.setWaitCursor(true);
    simulation::ImmediateTuning(doc_).recompute(what, said);
    ui_.setWaitCursor(false);
    lastMs_[slot(what)] = msSince(begin);
    ++runs_;
}

void SimulationTuner::start(Recompute what) {
    pending_.reset();
    running_ = true;
    auto job = simulation::snapshotTuning(doc_, what);
    {
        std::lock_guard lock(mutex_);
        job_ = std::move(job);
    }
    wake_.notify_one();
}

void SimulationTuner::work() {
    for (;;) {
        std::unique_ptr<simulation::TuningJob> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || job_ != nullptr; });
            if (stop_) return;
            job = std::move(job_);
        }
        const auto begin = std::chrono::steady_clock::now();
        simulation::runTuningJob(*job);
        const double ms = msSince(begin);
        // Back on the user-interface thread; the destructor joins this thread before the object
        // goes, so the call cannot outlive it.
        QMetaObject::invokeMethod(
            this,
            [this, done = std::shared_ptr<simulation::TuningJob>(std::move(job)), ms] { jobDone(*done, ms); },
            Qt::QueuedConnection);
    }
}

void SimulationTuner::jobDone(simulation::TuningJob& job, double ms) {
    (void)simulation::applyTuningResult(doc_, job);
    platform::reportAll(ui_, job.messages);
    lastMs_[slot(job.what)] = ms;
    ++runs_;
    ++backgroundRuns_;
    running_ = false;
    if (pending_) start(*pending_);
    emit finished();
}

}  // namespace pelvaron::gui
