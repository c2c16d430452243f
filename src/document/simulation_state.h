// The spin-system description and the simulation's working parameters; they survive document
// set-up.
#pragma once

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace pelvaron {

inline constexpr int kMaxSubsystems = 5;
inline constexpr int kMaxNuclei = 10;

/// What a fit of the simulation holds at its present value, per subsystem: shifts by nucleus,
/// couplings by pair (either order) and the line width. A list shorter than the nuclei holds
/// nothing beyond its end: by default every parameter is free.
struct FitHeld {
    std::vector<bool> shifts;
    std::vector<std::vector<bool>> couplings;  ///< [i][j] with i < j
    bool width = false;

    [[nodiscard]] bool shift(int i) const {
        return i >= 0 && static_cast<std::size_t>(i) < shifts.size() && shifts[static_cast<std::size_t>(i)];
    }
    [[nodiscard]] bool coupling(int i, int j) const {
        if (i > j) std::swap(i, j);
        if (i < 0 || static_cast<std::size_t>(i) >= couplings.size()) return false;
        const auto& row = couplings[static_cast<std::size_t>(i)];
        return static_cast<std::size_t>(j) < row.size() && row[static_cast<std::size_t>(j)];
    }
    void setShift(int i, bool held) {
        if (i < 0 || i >= kMaxNuclei) return;
        if (shifts.size() <= static_cast<std::size_t>(i))
            shifts.resize(static_cast<std::size_t>(i) + 1, false);
        shifts[static_cast<std::size_t>(i)] = held;
    }
    void setCoupling(int i, int j, bool held) {
        if (i > j) std::swap(i, j);
        if (i < 0 || i == j || j >= kMaxNuclei) return;
        if (couplings.size() <= static_cast<std::size_t>(i))
            couplings.resize(static_cast<std::size_t>(i) + 1);
        auto& row = couplings[static_cast<std::size_t>(i)];
        if (row.size() <= static_cast<std::size_t>(j)) row.resize(static_cast<std::size_t>(j) + 1, false);
        row[static_cast<std::size_t>(j)] = held;
    }
    bool operator==(const FitHeld&) const = default;
};

/// One standard deviation of each value after a fit, Hz; 0 for a value the fit held, NaN where the
/// data could not tell it apart from another. Empty when no fit stands behind the values.
struct FitSigmas {
    std::vector<double> shifts;
    std::vector<std::vector<double>> couplings;  ///< n x n, symmetric
    double width = 0.0;
    [[nodiscard]] bool empty() const { return shifts.empty(); }
};

/// A subsystem's part in the last fit: what it holds, what the fit found, and the values the fit
/// started from (for Undo fit; empty when there is nothing to undo).
struct SubsystemFit {
    FitHeld held;
    FitSigmas sigmas;
    std::vector<double> shiftsBefore;
    std::vector<std::vector<double>> couplingsBefore;
};

/// One independent spin system of spin-1/2 nuclei: n = 1 ... 10 finite shifts and a symmetric
/// n x n table of finite couplings, Hz, with the transition lists of its last computation. A
/// default one has no nuclei (a record of the table not entered yet); only make() gives one
/// nuclei and the setters keep what make() checked, so the engine computes any other as it is.
class SpinSubsystem {
public:
    /// What keeps a count, shifts and couplings from making a spin system (the first found).
    enum class Fault { None, NucleiCount, Incomplete, NotFinite };

    /// n outside 1 ... kMaxNuclei; fewer than n shifts or an n x n corner of the couplings that
    /// is not there; a shift or a coupling above the diagonal (the ones read) that is not finite.
    [[nodiscard]] static Fault check(int n, const std::vector<double>& shifts,
                                     const std::vector<std::vector<double>>& couplings) {
        if (n < 1 || n > kMaxNuclei) return Fault::NucleiCount;
        const auto un = static_cast<std::size_t>(n);
        if (shifts.size() < un || couplings.size() < un) return Fault::Incomplete;
        for (std::size_t i = 0; i < un; ++i)
            if (couplings[i].size() < un) return Fault::Incomplete;
        for (std::size_t i = 0; i < un; ++i) {
            if (!std::isfinite(shifts[i])) return Fault::NotFinite;
            for (std::size_t j = i + 1; j < un; ++j)
                if (!std::isfinite(couplings[i][j])) return Fault::NotFinite;
        }
        return Fault::None;
    }

    /// The system of the first n shifts and the n x n corner of the couplings, the table made
    /// symmetric from its entries above the diagonal; `out` is written only when check() finds
    /// nothing wrong.
    [[nodiscard]] static Fault make(int n, const std::vector<double>& shifts,
                                    const std::vector<std::vector<double>>& couplings, SpinSubsystem& out) {
        const Fault fault = check(n, shifts, couplings);
        if (fault != Fault::None) return fault;
        const auto un = static_cast<std::size_t>(n);
        SpinSubsystem made;
        made.shifts_.assign(shifts.begin(), shifts.begin() + n);
        made.couplings_.assign(un, std::vector<double>(un, 0.0));
        for (std::size_t i = 0; i < un; ++i)
            for (std::size_t j = i + 1; j < un; ++j)
                made.couplings_[i][j] = made.couplings_[j][i] = couplings[i][j];
        out = std::move(made);
        return Fault::None;
    }

    /// NucleiCount for a record not entered, else None.
    [[nodiscard]] Fault fault() const { return shifts_.empty() ? Fault::NucleiCount : Fault::None; }
    [[nodiscard]] bool empty() const { return shifts_.empty(); }
    [[nodiscard]] int nNuclei() const { return static_cast<int>(shifts_.size()); }
    [[nodiscard]] int nCouplings() const { return nNuclei() * (nNuclei() - 1) / 2; }
    [[nodiscard]] const std::vector<double>& shifts() const { return shifts_; }
    /// n x n and symmetric.
    [[nodiscard]] const std::vector<std::vector<double>>& couplings() const { return couplings_; }

    /// The shift of nucleus i, or J between nuclei i and j (both ways); false, and nothing
    /// changed, for a nucleus outside the system, i == j, or a value that is not finite.
    bool setShift(int i, double hz) {
        if (i < 0 || i >= nNuclei() || !std::isfinite(hz)) return false;
        shifts_[static_cast<std::size_t>(i)] = hz;
        return true;
    }
    bool setCoupling(int i, int j, double hz) {
        if (i < 0 || j < 0 || i >= nNuclei() || j >= nNuclei() || i == j || !std::isfinite(hz)) return false;
        couplings_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = hz;
        couplings_[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = hz;
        return true;
    }

    /// Transition frequencies (Hz, ascending) and intensities of the last computation; empty
    /// when there was none or it failed. They describe the parameters they were computed from.
    [[nodiscard]] const std::vector<double>& transFreq() const { return transFreq_; }
    [[nodiscard]] const std::vector<double>& transIntens() const { return transIntens_; }
    void storeTransitions(std::vector<double> freq, std::vector<double> intens) {
        transFreq_ = std::move(freq);
        transIntens_ = std::move(intens);
    }
    void clearTransitions() { storeTransitions({}, {}); }

    /// Held parameters, sigmas and Undo of the fit. A record made anew (make(), the table released)
    /// has none; the parameters above never depend on it.
    SubsystemFit fit;

private:
    std::vector<std::vector<double>> couplings_;
    std::vector<double> shifts_;
    std::vector<double> transFreq_;
    std::vector<double> transIntens_;
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

    // --- Fitting the simulation to the measured spectrum of Compare to current spc.
    /// The held parameters of the subsystem on the Simulation data page, as editShifts are its
    /// shifts; stored into the record with them.
    FitHeld editHeld;
    /// Compare to current spc. was given a spectrum (not a FID) to lay the simulation over.
    int compareMeasuredIsSpectrum = 0;
    /// What the last fit changed beyond the subsystems, for Undo fit and the residual; it stands
    /// only while the records carry that fit (fitUndoable), the residual while its sigmas do.
    struct LastFit {
        double lineWidthBefore = 0.3;
        /// The measured set (secondData) was divided by this to show it at the fitted height.
        double secondScale = 1.0;
        /// The regions fitted: the first point, and the fit's residual (measured less model) at
        /// each point on the scale the measured set is shown with.
        struct Range {
            int first = 0;
            std::vector<double> residual;
        };
        std::vector<Range> ranges;
    } lastFit;
};

}  // namespace pelvaron
