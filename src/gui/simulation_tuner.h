// The recomputations of the Interactive Sim. dialog in the window. A step whose last run took
// less than a frame runs at once, so that the next repaint shows it; a longer one runs on a worker
// thread over a copy of the simulation, and while it runs only the latest step asked for waits:
// holding Inc never queues stale recomputations, and the plot shows the last finished one.
#pragma once

#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "document/document.h"
#include "platform/user_interface.h"
#include "simulation/simulation_dialogs.h"
#include "simulation/tuning.h"

namespace pelvaron::gui {

class SimulationTuner : public QObject, public simulation::TuningRunner {
    Q_OBJECT
public:
    /// A run shorter than this many milliseconds stays on the user-interface thread.
    static constexpr double kFrameMs = 16.0;

    SimulationTuner(Document& doc, platform::UserInterface& ui, QObject* parent = nullptr);
    ~SimulationTuner() override;

    void recompute(simulation::Recompute what, simulation::Messages& said) override;

    /// A recomputation is running on the worker or waiting for it.
    [[nodiscard]] bool busy() const { return running_ || pending_.has_value(); }
    /// Recomputations run, on either thread, and those run on the worker.
    [[nodiscard]] int runs() const { return runs_; }
    [[nodiscard]] int backgroundRuns() const { return backgroundRuns_; }

signals:
    /// A worker's result was brought into the document (or dropped as out of date).
    void finished();

private:
    Document& doc_;
    platform::UserInterface& ui_;
    bool running_ = false;  ///< a job is with the worker (user-interface thread only)
    std::optional<simulation::Recompute> pending_;
    double lastMs_[2] = {-1.0, 0.0};  ///< last run of a full and a width-only step; < 0 unknown
    int runs_ = 0;
    int backgroundRuns_ = 0;

    // The worker: one job at a time, handed over under the mutex. The thread is the last member:
    // it starts in the constructor and at once takes the mutex and reads the rest, which must be
    // built by then (and is destroyed only after the destructor has joined it).
    std::mutex mutex_;
    std::condition_variable wake_;
    std::unique_ptr<simulation::TuningJob> job_;
    bool stop_ = false;
    std::thread worker_;

    [[nodiscard]] bool runsAtOnce(simulation::Recompute what) const;
    void start(simulation::Recompute what);
    void work();
    void jobDone(simulation::TuningJob& job, double ms);
};

}  // namespace pelvaron::gui
