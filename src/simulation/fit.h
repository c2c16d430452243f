// Total-lineshape fitting: the exact spectrum of a spin system (all its subsystems) against a
// measured spectrum over one or more regions, by Levenberg-Marquardt least squares.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pelvaron::simulation {

/// One subsystem as the fit moves it: shifts and couplings in Hz on the measured axis.
struct FitSubsystem {
    std::vector<double> shifts;
    /// n x n and symmetric; a pair at 0 is not coupled and stays 0.
    std::vector<std::vector<double>> couplings;
    double lineWidth = 1.0;  ///< Hz, full width at half height
};

/// Every value the fit may move: the spin system, and per region an intensity scale and a
/// constant offset (model = scale * lines + offset).
struct FitParameters {
    std::vector<FitSubsystem> subsystems;
    std::vector<double> scale;   ///< per region; estimated from the start when empty
    std::vector<double> offset;  ///< per region; estimated with scale when empty
};

/// The measured points of one region: their positions (Hz) and values.
struct FitRegion {
    std::vector<double> hz;
    std::vector<double> values;
};

/// Names one parameter: i, j are nuclei (0-based) of `subsystem`; for Scale and Offset
/// `subsystem` is the region.
struct FitParameterId {
    enum class Kind { Shift, Coupling, Width, Scale, Offset };
    Kind kind = Kind::Shift;
    int subsystem = 0;
    int i = 0;
    int j = 0;
    bool operator==(const FitParameterId&) const = default;
};

struct FitSettings {
    int maxIterations = 200;  ///< per stage of line broadening
    /// Hz added to every line, and to the measured spectrum by convolution, in the coarse stages
    /// that pull a distant start into the right minimum; the last stage is always 0.
    std::vector<double> broadening = {6.0, 2.0, 0.6};
    /// Called after every iteration with the running count and the residual's rms.
    std::function<void(int iteration, double rms)> progress;
    /// Set from another thread to stop the fit between evaluations.
    const std::atomic<bool>* cancel = nullptr;
};

struct FitResult {
    enum class Status { Converged, NotConverged, Cancelled, Refused };
    Status status = Status::Refused;
    std::string message;     ///< why it was refused or did not converge
    FitParameters fitted;    ///< the start values unless Converged
    FitParameters sigma;     ///< one standard deviation per parameter, 0 for fixed ones
    double relativeRms = 0;  ///< residual rms over the regions / tallest measured line there
    int iterations = 0;      ///< over all stages
};

// Refusals before any iteration.
inline constexpr const char* kFitNoRegionText = "no region to fit";
inline constexpr const char* kFitTooManyText = "as many free parameters as measured points, or more";
inline constexpr const char* kFitEngineText = "the spin system cannot be computed";
inline constexpr const char* kFitNotFiniteText = "the measured values must be finite numbers";

/// Every parameter of `p`'s shape that the fit varies unless fixed: each shift, each coupling
/// that is not 0, each width, then each region's scale and offset.
[[nodiscard]] std::vector<FitParameterId> fitParameterIds(const FitParameters& p, int regions);

/// The value of parameter `id` in `p`.
[[nodiscard]] double& parameterValue(FitParameters& p, const FitParameterId& id);
[[nodiscard]] double parameterValue(const FitParameters& p, const FitParameterId& id);

/// The model's values on each region's points (regions' scale and offset must be set).
[[nodiscard]] bool fitModelValues(const FitParameters& p, const std::vector<FitRegion>& regions,
                                  std::vector<std::vector<double>>& out);

/// Fits `start` to `regions`, every parameter free but those in `fixed`. Deterministic.
[[nodiscard]] FitResult fitSpinSystem(const FitParameters& start, const std::vector<FitRegion>& regions,
                                      const std::vector<FitParameterId>& fixed,
                                      const FitSettings& settings = {});

}  // namespace pelvaron::simulation
