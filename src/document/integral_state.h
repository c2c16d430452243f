// State of the integrals: the list of at most 100 regions, the reference integral and the
// drawing scale of the curves.
#pragma once

#include <array>

namespace pelvaron {

inline constexpr int kMaxIntegrals = 100;

struct IntegralState {
    int integralCount = 0;
    int lastIntegral = 0;       ///< integralCount - 1 once one exists; drawing loops run 0..last
    int integralsExist = 0;
    int integralsShown = 0;
    int integralRestart = 1;    ///< the next integral created empties the list first
    std::array<double, kMaxIntegrals> integralValue{};
    std::array<double, kMaxIntegrals> integralStart{};  ///< fractional complex-point indices
    std::array<double, kMaxIntegrals> integralEnd{};
    std::array<int, kMaxIntegrals> integralLabelLeft{};
    std::array<int, kMaxIntegrals> integralLabelRight{};
    int refIntegral = 0;
    int prevRefIntegral = 0;
    double refIntegralValue = 1.0;
    double refIntegralValueShown = 1.0;
    double integralScale = 0.055;     ///< not reset by document set-up
    double integralScaleStep = 1.33;  ///< not reset by document set-up
    int showIntegralCurves = 1;
    int showIntegralValues = 1;
    int integralBaselineCorr = 0;

    /// An empty list that starts afresh: nothing shown, the next integral restarts the list,
    /// reference 0 worth 1.0. The scales, the shown parts and the baseline option stay.
    void startAfresh() {
        integralCount = 0;
        lastIntegral = 0;
        integralsShown = 0;
        integralsExist = 0;
        integralRestart = 1;
        refIntegral = 0;
        refIntegralValue = 1.0;
    }
};

}  // namespace pelvaron
