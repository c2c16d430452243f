// Fitting spin systems to spectra made from known values with noise: recovery from a distant
// start, the sigmas against the scatter of repeated draws, fixed parameters, refusals.
#include "simulation/fit.h"
#include "fit_systems.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace pelvaron::simulation {
namespace {

using Kind = FitParameterId::Kind;

/// A grid of points from lo to hi Hz, every step Hz.
FitRegion grid(double lo, double hi, double step) {
    FitRegion r;
    for (double x = lo; x <= hi; x += step) r.hz.push_back(x);
    return r;
}

using testing::coupled;

/// The measured regions: the model of `truth` plus Gaussian noise of `noise` times its tallest line.
std::vector<FitRegion> measure(const FitParameters& truth, std::vector<FitRegion> regions, double noise,
                               unsigned seed) {
    std::vector<std::vector<double>> values;
    EXPECT_TRUE(fitModelValues(truth, regions, values));
    double tallest = 0.0;
    for (const auto& r : values)
        for (const double v : r) tallest = std::max(tallest, v);
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0.0, noise * tallest);
    for (std::size_t r = 0; r < regions.size(); ++r) {
        regions[r].values = values[r];
        for (double& v : regions[r].values) v += gauss(random);
    }
    return regions;
}

/// Shifts off by dShift and couplings by dJ, alternating in sign; widths 1.5 times.
FitParameters offStart(const FitParameters& truth, double dShift, double dJ) {
    FitParameters start;
    start.subsystems = truth.subsystems;
    int sign = 1;
    for (auto& s : start.subsystems) {
        for (double& v : s.shifts) v += (sign = -sign) * dShift;
        for (std::size_t i = 0; i < s.shifts.size(); ++i)
            for (std::size_t j = i + 1; j < s.shifts.size(); ++j)
                if (s.couplings[i][j] != 0.0) s.couplings[i][j] = s.couplings[j][i] += (sign = -sign) * dJ;
        s.lineWidth *= 1.5;
    }
    return start;
}

/// Every fitted shift and coupling within its tolerance of the truth and within 4 sigma of it.
void expectRecovered(const FitResult& fit, const FitParameters& truth, double shiftTol, double jTol) {
    ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.message;
    for (const FitParameterId& id : fitParameterIds(truth, 0)) {
        const double error = parameterValue(fit.fitted, id) - parameterValue(truth, id);
        const double sigma = parameterValue(fit.sigma, id);
        if (id.kind == Kind::Width) {
            EXPECT_NEAR(error / parameterValue(truth, id), 0.0, 0.05);
        } else {
            EXPECT_NEAR(error, 0.0, id.kind == Kind::Shift ? shiftTol : jTol) << int(id.kind) << id.i << id.j;
        }
        EXPECT_GT(sigma, 0.0);
        EXPECT_LT(std::fabs(error), 4.0 * sigma) << int(id.kind) << id.i << id.j;
    }
}

FitParameters abx() {
    FitParameters p;
    p.subsystems = {coupled({610.0, 622.0, 700.0}, {{{0, 1, 15.5}}, {{0, 2, 3.2}}, {{1, 2, 8.7}}}, 0.8)};
    p.scale = {100.0};
    p.offset = {0.5};
    return p;
}

TEST(FitTest, AbxComesBackFromShiftsTwoHertzAndCouplingsOneHertzOff) {
    FitParameters truth = abx();
    truth.scale = {100.0, 80.0};
    truth.offset = {0.0, 0.5};
    const auto regions = measure(truth, {grid(580.0, 650.0, 0.1), grid(680.0, 720.0, 0.1)}, 0.005, 1);
    int reported = 0;
    FitSettings settings;
    settings.progress = [&](int iteration, double rms) {
        EXPECT_EQ(iteration, ++reported);
        EXPECT_TRUE(std::isfinite(rms));
    };
    const FitResult fit = fitSpinSystem(offStart(truth, 2.0, 1.0), regions, {}, settings);
    expectRecovered(fit, truth, 0.02, 0.05);
    EXPECT_EQ(fit.iterations, reported);
    EXPECT_LT(fit.relativeRms, 0.006);
    EXPECT_NEAR(fit.fitted.offset[1], 0.5, 0.05);
    EXPECT_NEAR(fit.fitted.scale[1] / fit.fitted.scale[0], 0.8, 0.01);
}

TEST(FitTest, SixStronglyCoupledSpinsComeBack) {
    FitParameters truth;
    truth.subsystems = {testing::sixStronglyCoupled()};
    truth.scale = {50.0};
    truth.offset = {0.0};
    const auto regions = measure(truth, {grid(380.0, 450.0, 0.1)}, 0.005, 2);
    expectRecovered(fitSpinSystem(offStart(truth, 2.0, 1.0), regions, {}), truth, 0.05, 0.1);
}

TEST(FitTest, FixedParametersKeepTheirStartValues) {
    const FitParameters truth = abx();
    const auto regions = measure(truth, {grid(580.0, 720.0, 0.1)}, 0.005, 3);
    FitParameters start = offStart(truth, 0.3, 0.2);
    start.subsystems[0].shifts[2] = 700.05;
    const std::vector<FitParameterId> fixed = {
        {Kind::Shift, 0, 2, 0}, {Kind::Coupling, 0, 0, 1}, {Kind::Width, 0, 0, 0}};
    const FitResult fit = fitSpinSystem(start, regions, fixed);
    ASSERT_EQ(fit.status, FitResult::Status::Converged) << fit.message;
    for (const FitParameterId& id : fixed) {
        EXPECT_EQ(parameterValue(fit.fitted, id), parameterValue(start, id));
        EXPECT_EQ(parameterValue(fit.sigma, id), 0.0);
    }
    EXPECT_EQ(fit.fitted.subsystems[0].couplings[1][0], start.subsystems[0].couplings[1][0]);
    // The free ones moved to the truth.
    EXPECT_NEAR(fit.fitted.subsystems[0].couplings[1][2], 8.7, 0.1);
    EXPECT_NEAR(fit.fitted.subsystems[0].shifts[0], 610.0, 0.1);
}

TEST(FitTest, SigmaMatchesTheScatterOfRepeatedNoiseDraws) {
    const FitParameters truth = abx();
    const FitParameterId shiftA{Kind::Shift, 0, 0, 0}, jAx{Kind::Coupling, 0, 0, 2};
    constexpr int kDraws = 8;
    double sumA = 0, sumJ = 0, sigmaA = 0, sigmaJ = 0;
    for (unsigned d = 0; d < kDraws; ++d) {
        const auto regions = measure(truth, {grid(580.0, 720.0, 0.2)}, 0.02, 100 + d);
        const FitResult fit = fitSpinSystem(offStart(truth, 0.2, 0.1), regions, {});
        ASSERT_EQ(fit.status, FitResult::Status::Converged);
        sumA += std::pow(parameterValue(fit.fitted, shiftA) - 610.0, 2);
        sumJ += std::pow(parameterValue(fit.fitted, jAx) - 3.2, 2);
        sigmaA += parameterValue(fit.sigma, shiftA) / kDraws;
        sigmaJ += parameterValue(fit.sigma, jAx) / kDraws;
    }
    // Eight draws pin the scatter down to about a quarter of itself.
    EXPECT_NEAR(std::sqrt(sumA / kDraws) / sigmaA, 1.0, 0.5);
    EXPECT_NEAR(std::sqrt(sumJ / kDraws) / sigmaJ, 1.0, 0.5);
}

TEST(FitTest, RefusesWhatCannotBeFitted) {
    const FitParameters truth = abx();
    const auto regions = measure(truth, {grid(600.0, 630.0, 0.5)}, 0.005, 4);
    EXPECT_EQ(fitSpinSystem(truth, {}, {}).message, kFitNoRegionText);
    EXPECT_EQ(fitSpinSystem(truth, {grid(600.0, 601.0, 0.5)}, {}).message, kFitNoRegionText);  // no values
    EXPECT_EQ(fitSpinSystem(truth, measure(truth, {grid(600.0, 601.0, 0.5)}, 0.0, 5), {}).message,
              kFitTooManyText);
    FitParameters broken = truth;
    broken.subsystems[0].shifts[1] = std::nan("");
    EXPECT_EQ(fitSpinSystem(broken, regions, {}).message, kFitEngineText);
    auto bad = regions;
    bad[0].values[3] = INFINITY;
    EXPECT_EQ(fitSpinSystem(truth, bad, {}).message, kFitNotFiniteText);

    FitSettings settings;
    settings.maxIterations = 1;
    EXPECT_EQ(fitSpinSystem(offStart(truth, 2.0, 1.0), regions, {}, settings).status,
              FitResult::Status::NotConverged);
    const std::atomic<bool> cancel{true};
    settings.cancel = &cancel;
    const FitResult cancelled = fitSpinSystem(truth, regions, {}, settings);
    EXPECT_EQ(cancelled.status, FitResult::Status::Cancelled);
    EXPECT_EQ(cancelled.fitted.subsystems[0].shifts, truth.subsystems[0].shifts);
}

}  // namespace
}  // namespace pelvaron::simulation
