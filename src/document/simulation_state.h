// The spin-system description and the simulation's working parameters; they survive document
// set-up.
#pragma once

#include <vector>

namespace pelvaron {

inline constexpr int kMaxSubsystems = 5;
inline constexpr int kMaxNuclei = 10;

/// One independent spin system of up to ten spin-1/2 nuclei.
struct SpinSubsystem {
    std::vector<std::vector<double>> couplings;  ///< n x n, Hz; only i < j is used
    std::vector<double> shifts;                  ///< Hz
    std::vector<double> transFreq;               ///< Hz, ascending, from the last computation
    std::vector<double> transIntens;
    int nCouplings = 0;
    int nNuclei = 0;
};

struct SimulationState {
    double simFromHz = 0.0;
    double simToHz = 3000.0;
    double simSF = 300.0;
    int simPoints = 8192;
    double simLineWidth = 0.3;
    double simThreshold = 0.001;
    int simUnitsPpm = 0;
    int nNucleiInput = 0;
    std::vector<double> editShifts;
    std::vector<std::vector<double>> editCouplings;
    int lastSubsystem = 0;
    int currentSubsystem = 0;
    int simExists = 0;
    int simNewSubsystem = 1;
    int simInteractive = 0;
    int simUpdateDocument = 0;
    double simRange = 0.0;                      ///< |simToHz - simFromHz| of the last synthesis, Hz
    std::vector<SpinSubsystem> spinSubsystems;  ///< the table; empty until allocated
    int subsystemsAllocated = 0;
};

}  // namespace pelvaron
