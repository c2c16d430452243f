// A fit of the simulation run beside the window: fitSpinSystem on a worker thread over the
// fitter's own copy of the job, its progress and its end brought back to the user-interface thread
// as queued calls, so that the window answers while it runs. Cancel stops it between evaluations.
#pragma once

#include <QObject>
#include <atomic>
#include <thread>

#include "simulation/fit.h"
#include "simulation/fit_session.h"

namespace pelvaron::gui {

class SimulationFitter : public QObject {
    Q_OBJECT
public:
    /// Progress is sent at most this often (ms), however fast the iterations come.
    static constexpr int kProgressMs = 50;

    explicit SimulationFitter(QObject* parent = nullptr);
    /// A fit still running is cancelled and waited for.
    ~SimulationFitter() override;

    /// Starts fitting a copy of `job`; false, and nothing started, while a fit runs.
    bool start(const simulation::FitJob& job);
    /// Asks the running fit to stop; it ends with Cancelled (finished follows).
    void cancel();
    [[nodiscard]] bool running() const { return running_; }

    /// The job of the last fit started, and, once it has finished, what it found.
    [[nodiscard]] const simulation::FitJob& job() const { return job_; }
    [[nodiscard]] const simulation::FitResult& result() const { return result_; }

signals:
    /// After an iteration: the count over all stages, and the residual's rms.
    void progress(int iteration, double rms);
    /// The fit has ended (converged, not converged, cancelled or refused): result() says how.
    void finished();

private:
    simulation::FitJob job_;
    simulation::FitResult result_;
    bool running_ = false;  ///< user-interface thread only
    std::atomic<bool> cancel_{false};
    // The thread is the last member: it reads cancel_, and the destructor joins it before any
    // other member goes.
    std::thread worker_;

    void done(simulation::FitResult result);
};

}  // namespace pelvaron::gui
