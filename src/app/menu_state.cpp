// The menu-enabling sets.
#include "app/menu_state.h"

#include <array>

#include "app/command_ids.h"

namespace pelvaron::app {

namespace {

constexpr std::array<int, 10> kInitial = {
    kCmdOpen,      kCmdImport,          kCmdExportJcamp,   kCmdExit, kCmdDotDisplay,
    kCmdShiftData, kCmdDeleteIntegrals, kCmdSimulationNew, kCmdHelp, kCmdAbout,
};

constexpr std::array<int, 55> kDocument = {
    2,
    3,
    6,
    10,
    11,
    20,
    21,
    23,
    24,
    25,
    26,
    30,
    31,
    40,
    41,
    42,
    43,
    44,
    40007,
    40008,
    40009,
    40012,
    40014,
    40015,
    40016,
    40019,
    40020,
    40022,
    40149,
    40160,
    40165,
    40166,
    40167,
    40169,
    40172,
    40181,
    40182,
    40183,
    40186,
    40191,
    40192,
    40193,
    40194,
    40197,
    40198,
    40201,
    40205,
    40206,
    40207,
    kCmdProcessAsRecorded,
    kCmdExportPicture,
    kCmdAutoPhaseFull,
    kCmdAutoBaseline,
    kCmdAutoProcess,
    kCmdMultipletReport,
};

constexpr std::array<int, 3> kSimulation = {kCmdInteractiveSimulation, kCmdCompareSimulation,
                                            kCmdEditSimulation};

// What brings a new data set: the loads, the transform, the two-set displays and the simulation
// commands that set up a simulated spectrum as the document; and the automatic phase, baseline
// and processing, which would change the data a live dialog works from.
constexpr std::array<int, 11> kLiveHeld = {
    kCmdOpen,          kCmdImport,        kCmdFourier,        kCmdProcessAsRecorded,
    kCmdAddSubtract,   kCmdSimulationNew, kCmdEditSimulation, kCmdCompareSimulation,
    kCmdAutoPhaseFull, kCmdAutoBaseline,  kCmdAutoProcess};

}  // namespace

std::span<const int> initiallyEnabledCommands() { return kInitial; }
std::span<const int> documentCommands() { return kDocument; }
std::span<const int> simulationCommands() { return kSimulation; }
std::span<const int> liveDialogHeldCommands() { return kLiveHeld; }

std::optional<bool> checkState(const Document& doc, const display::View& view, int id) {
    switch (id) {
        case kCmdShowGrid: return view.showGrid != 0;
        case kCmdDualZoom: return view.dualZoom != 0;
        case kCmdDotDisplay: return view.dotDisplay != 0;
        case kCmdShowCurves: return doc.integrals.showIntegralCurves != 0;
        case kCmdShowValues: return doc.integrals.showIntegralValues != 0;
        case kCmdIntegralBaseline: return doc.integrals.integralBaselineCorr != 0;
        case kCmdPeakLabels: return doc.peaks.peakLabelsShown != 0;
        default: return std::nullopt;
    }
}

MenuState::MenuState() {
    for (int id : kInitial) setEnabled(id, true);
    // A view preference rather than a command on the data: available with or without one.
    setEnabled(kCmdPeakLabels, true);
    // The spin-system files need no data set: Save says so when there is no simulation.
    setEnabled(kCmdOpenSpinSystem, true);
    setEnabled(kCmdSaveSpinSystem, true);
}

void MenuState::setEnabled(int id, bool enable) { enabled_[id] = enable; }

void MenuState::setHeld(int id, bool held) {
    if (held)
        held_.insert(id);
    else
        held_.erase(id);
}

bool MenuState::isEnabled(int id) const {
    if (held_.count(id) != 0) return false;
    const auto it = enabled_.find(id);
    return it != enabled_.end() && it->second;
}

void MenuState::enableDocumentMenus(bool enable) {
    for (int id : kDocument) setEnabled(id, enable);
    // Compare needs a data set to compare with; nothing else would ever enable it. A simulation's
    // own set-up is followed by its OK, which grays it again.
    setEnabled(kCmdCompareSimulation, enable);
    toolbarVisible_ = enable;
}

}  // namespace pelvaron::app
