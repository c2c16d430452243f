// The fit's worker thread.
#include "gui/simulation_fitter.h"

#include <QMetaObject>
#include <chrono>
#include <memory>

namespace pelvaron::gui {

SimulationFitter::SimulationFitter(QObject* parent) : QObject(parent) {}

SimulationFitter::~SimulationFitter() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

bool SimulationFitter::start(const simulation::FitJob& job) {
    if (running_) return false;
    // A worker that has posted its end is joined by done(); one whose end was never delivered
    // cannot be left behind.
    if (worker_.joinable()) worker_.join();
    job_ = job;
    result_ = {};
    cancel_ = false;
    running_ = true;
    worker_ = std::thread([this, start = job.start, regions = job.regions, fixed = job.fixed] {
        using Clock = std::chrono::steady_clock;
        auto last = Clock::now() - std::chrono::milliseconds(kProgressMs);
        simulation::FitSettings settings;
        settings.cancel = &cancel_;
        settings.progress = [this, &last](int iteration, double rms) {
            const auto now = Clock::now();
            if (now - last < std::chrono::milliseconds(kProgressMs)) return;
            last = now;
            QMetaObject::invokeMethod(
                this, [this, iteration, rms] { emit progress(iteration, rms); }, Qt::QueuedConnection);
        };
        auto result = std::make_shared<simulation::FitResult>(
            simulation::fitSpinSystem(start, regions, fixed, settings));
        // Back on the user-interface thread; the destructor joins this thread before the object
        // goes, and Qt drops the call of an object that is gone.
        QMetaObject::invokeMethod(
            this, [this, result] { done(std::move(*result)); }, Qt::QueuedConnection);
    });
    return true;
}

void SimulationFitter::cancel() { cancel_ = true; }

void SimulationFitter::done(simulation::FitResult result) {
    if (worker_.joinable()) worker_.join();
    result_ = std::move(result);
    running_ = false;
    emit finished();
}

}  // namespace pelvaron::gui
