// The spin-system engine: the exact (strong-coupling) spectrum of up to five independent systems
// of up to ten spin-1/2 nuclei, their stored transition lists and the recomputation into the
// document.
#pragma once

#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {

/// Every allowed transition of one spin system, 1-based: freq[1..T] in Hz, ascending, and the
/// matching intensities intens[1..T]. T = binom(2n, n-1); the intensities add up to n.
struct Transitions {
    Vector freq;
    Vector intens;
    [[nodiscard]] int count() const { return freq.size(); }
};

/// Computes the transitions of n nuclei (1..10) with shifts[0..n-1] (Hz) and couplings[i][j]
/// (Hz, only i < j read). The Hamiltonian is diagonalised one total-Fz block at a time (tred2,
/// tqli), and the intensities between neighbouring blocks come from applying the raising
/// operator to one block's eigenvectors and one matrix product with the other's. Shows the
/// documented message and returns false on a refused input or a failed allocation (nothing in
/// `out`).
[[nodiscard]] bool computeTransitions(int n, const std::vector<double>& shifts,
                                      const std::vector<std::vector<double>>& couplings, Transitions& out,
                                      platform::UserInterface& ui, const AllocationGate* gate = nullptr);

/// Creates the table of five subsystem records unless it exists; "Error allocating memory for
/// spin subsystems" when it cannot.
[[nodiscard]] bool allocateSpinSubsystems(Document& doc, platform::UserInterface& ui);

/// Releases every record and the table: subsystemsAllocated = 0.
void freeSpinSubsystems(Document& doc);

/// Copies editShifts and editCouplings into the record being edited: currentSubsystem when
/// simNewSubsystem is 0, else lastSubsystem. A record without nuclei takes nNucleiInput. Refuses,
/// with a message and nothing changed, a record beyond the fifth, a count outside 1..10, or
/// editing copies smaller than the count.
[[nodiscard]] bool storeSubsystemParams(Document& doc, platform::UserInterface& ui);

/// Computes subsystem s of the table, stores its transition lists in the record and adds its
/// spectrum to specData through synthesizeSpectrum. Shows a message and adds nothing when the
/// parameters are refused (checked before any computation) or an allocation fails; in the
/// latter case the record's lists are emptied, since they no longer describe the subsystem.
/// The caller zeroes specData first (recomputeSimulation does).
void simulateSubsystem(Document& doc, platform::UserInterface& ui, double lineWidth, double fromHz,
                       double toHz, double threshold, int nPoints, int s,
                       const AllocationGate* gate = nullptr);

/// Zeroes specData over the larger of nData and simPoints, then simulates subsystems
/// 0..lastSubsystem with the working parameters, under the wait cursor, and asks for a repaint.
/// Returns false, with a message and the document untouched, when the working parameters or the
/// table are refused before computing.
[[nodiscard]] bool recomputeSimulation(Document& doc, platform::UserInterface& ui,
                                       const AllocationGate* gate = nullptr);

/// After a change of line width only: zeroes specData as recomputeSimulation does and
/// re-synthesises every subsystem from its stored transition lists.
[[nodiscard]] bool resynthesizeSimulation(Document& doc, platform::UserInterface& ui);

/// The check made before any computation: the table index, the nuclei count and finite
/// shifts and couplings of subsystem s. False after a message.
[[nodiscard]] bool checkSubsystem(const Document& doc, int s, platform::UserInterface& ui);

}  // namespace pelvaron::simulation
