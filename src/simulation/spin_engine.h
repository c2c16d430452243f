// The spin-system engine: the exact (strong-coupling) spectrum of up to five independent systems
// of up to ten spin-1/2 nuclei, computed from SpinSubsystem values apart from any document, and
// the simulation's table, stored transition lists and recomputation in the document.
#pragma once

#include <span>
#include <vector>

#include "document/document.h"
#include "simulation/synthesis.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {

/// Every allowed transition of one spin system, 1-based: freq[1..T] in Hz, ascending, and the
/// matching intensities intens[1..T]. T = binom(2n, n-1); the intensities add up to n.
struct Transitions {
    Vector freq;
    Vector intens;
    [[nodiscard]] int count() const { return freq.size(); }
};

/// The message of what SpinSubsystem::check found ("Error" caption); nullptr for nothing.
[[nodiscard]] const char* faultText(SpinSubsystem::Fault fault);

/// SpinSubsystem::make, with the fault's message when it refuses.
[[nodiscard]] bool makeSubsystem(int n, const std::vector<double>& shifts,
                                 const std::vector<std::vector<double>>& couplings, SpinSubsystem& out,
                                 Messages& said);

/// Computes the transitions of `system` (a default one, without nuclei, is refused with
/// kNucleiCountText). The Hamiltonian is diagonalised one total-Fz block at a time (tred2, tqli),
/// and the intensities between neighbouring blocks come from applying the raising operator to
/// one block's eigenvectors and one matrix product with the other's. Shows the documented
/// message and returns false on a failed allocation (nothing in `out`).
/// From nine nuclei on, the blocks, the pairs of blocks and the sort are shared out between the
/// calling thread and one more, which waits for the next computation; the calling thread keeps
/// its working storage for each number of nuclei, so that a recompute allocates only the lists
/// it returns. With a gate, everything is
/// allocated afresh on the calling thread, so that the gate sees each allocation.
[[nodiscard]] bool computeTransitions(const SpinSubsystem& system, Transitions& out, Messages& said,
                                      const AllocationGate* gate = nullptr);

/// computeTransitions on the calling thread alone, in storage of its own: the same arithmetic
/// in the same order, and so the same lists to the last bit.
[[nodiscard]] bool computeTransitionsSerially(const SpinSubsystem& system, Transitions& out, Messages& said);

/// A simulated spectrum, apart from any document.
struct SimulatedSpectrum {
    /// h = P/2 real values; point j lies at offsetHz + (h - j) * |toHz - fromHz| / h.
    std::vector<double> values;
    /// One list per subsystem, empty where its computation failed (after a message).
    std::vector<Transitions> transitions;
};

/// The spectrum of independent subsystems: each one's transitions, their lines summed
/// subsystem after subsystem. A subsystem whose computation fails adds nothing and the others
/// go on. False after a message, with `out` unusable, when the settings are refused or the
/// spectrum's storage cannot be had. Touches nothing but its arguments: it may run on copies
/// on any thread.
[[nodiscard]] bool simulateSpectrum(std::span<const SpinSubsystem> subsystems,
                                    const SynthesisSettings& settings, double offsetHz,
                                    SimulatedSpectrum& out, Messages& said,
                                    const AllocationGate* gate = nullptr);

/// The spectrum of the subsystems' stored transition lists alone (after a change of width), as
/// simulateSpectrum sums them.
[[nodiscard]] bool resynthesizeSpectrum(std::span<const SpinSubsystem> subsystems,
                                        const SynthesisSettings& settings, double offsetHz,
                                        std::vector<double>& values, Messages& said);

/// The check made before a simulation is computed: at most five subsystems, the working
/// synthesis parameters, and a table whose records 0 ... lastSubsystem have been entered. False
/// after a message.
[[nodiscard]] bool checkSimulation(const SimulationState& sim, Messages& said);

/// The records 0 ... lastSubsystem of the table, once checkSimulation has passed.
[[nodiscard]] std::span<const SpinSubsystem> subsystemsOf(const SimulationState& sim);

/// Stores each subsystem's computed transitions in its record, or empties the record's lists
/// where there are none ("Error allocating memory (frequencies)" or "(intensities)", caption
/// "error", when a copy cannot be made): the lists always describe the record's parameters.
void storeTransitions(SimulationState& sim, const SimulatedSpectrum& spectrum, Messages& said,
                      const AllocationGate* gate = nullptr);

/// Creates the table of five subsystem records unless it exists; "Error allocating memory for
/// spin subsystems" when it cannot.
[[nodiscard]] bool allocateSpinSubsystems(Document& doc, Messages& said);

/// Releases the simulation: the subsystem table and the editing copies; simExists = 0,
/// lastSubsystem = 0, and the dialogs' modes, the line width (0.3 Hz) and the threshold (0.001)
/// as a new simulation starts from them. New, Compare, Open, Import, Open Spin System and the
/// Cancel of a Simulation data page (which then sets simExists = 1) all release through it.
void releaseSimulation(SimulationState& sim);

/// Copies editShifts and editCouplings into the record being edited: currentSubsystem, with its
/// own number of nuclei, when simNewSubsystem is 0, else lastSubsystem with nNucleiInput nuclei.
/// Refuses, with a message and nothing changed, a record beyond the fifth or copies that make no
/// spin system (SpinSubsystem::make).
[[nodiscard]] bool storeSubsystemParams(Document& doc, Messages& said);

/// Computes subsystems 0..lastSubsystem with the working parameters into the document (the caller
/// shows the wait cursor): specData zeroed over the larger of nData and simPoints, the spectrum added with
/// the simulated axis (setSimulatedAxis), each record's transition lists stored, the views told.
/// Returns false, with a message and the document untouched, when checkSimulation refuses
/// or the spectrum cannot be computed at all.
[[nodiscard]] bool recomputeSimulation(Document& doc, Messages& said, const AllocationGate* gate = nullptr);

/// After a change of line width only: as recomputeSimulation, from the stored transition lists.
[[nodiscard]] bool resynthesizeSimulation(Document& doc, Messages& said);

}  // namespace pelvaron::simulation
