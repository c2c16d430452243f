// The spin-system file of the Simulation menu's Open and Save and of `pelvaron-cli simulate` and
// `transitions`: one JSON object with the Simulation data dialog's fields and one entry per
// subsystem, read from memory and written back; and the simulation it describes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {

/// A spin system as its file gives it: the window and the shifts in the file's units (Hz, or ppm
/// of `sf`), the couplings in Hz. The defaults are those of an empty file.
struct SpinSystemFile {
    double sf = 300.0;  ///< MHz
    bool ppm = false;
    double from = 0.0;
    double to = 3000.0;
    int points = 8192;
    double lineWidth = 0.3;  ///< Hz
    double threshold = 0.001;
    struct Subsystem {
        std::vector<double> shifts;
        /// n x n and symmetric, as the coupling dialog stores it; 0 for a pair not listed.
        std::vector<std::vector<double>> couplings;
        bool operator==(const Subsystem&) const = default;
    };
    std::vector<Subsystem> subsystems;

    /// Hz per unit of `from`, `to` and the shifts.
    [[nodiscard]] double hzPerUnit() const { return ppm ? sf : 1.0; }
    bool operator==(const SpinSystemFile&) const = default;
};

/// Reads a spin-system file's text. False with `error` set on a syntax error ("line L, column C:
/// ..."), a missing or wrong field (named by its key path, e.g. "subsystems[1].couplings[2]",
/// indices from 0, and what was expected), an unknown key, or a count the engine cannot hold.
/// `out` is complete only on success.
[[nodiscard]] bool parseSpinSystemJson(std::string_view text, SpinSystemFile& out, std::string& error);

/// The file text of `system`, which parseSpinSystemJson reads back as the same system: every
/// field, each subsystem on one line, each coupling once as [i, j, J] with i < j.
[[nodiscard]] std::string writeSpinSystemJson(const SpinSystemFile& system);

/// Computes the spectrum of `file` into `doc` as the Simulation dialogs would: New's window and
/// parameters, one subsystem page each, then OK; the document is set up as a simulated spectrum on
/// the file's units. False when the engine refused a step or said anything (into `said`): its
/// spectrum is then not to be trusted.
[[nodiscard]] bool simulateSpinSystem(Document& doc, Messages& said, const SpinSystemFile& file);

/// The spin system of the present simulation, as Save Spin System writes it: the window and the
/// shifts in the simulation's units, every subsystem entered.
[[nodiscard]] SpinSystemFile spinSystemOf(const Document& doc);

}  // namespace pelvaron::simulation
