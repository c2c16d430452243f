// The dialogs that enter and tune spin systems, without their widgets: Input parameters (the
// number of nuclei), Simulation data (window, resolution, width, units and the ring of nucleus
// buttons with its shift and coupling lists), Chemical Shift, Coupling Constant, Select
// Subsystem and the modeless Interactive Sim. Each reads and writes the document's simulation
// state; numbers typed into an edit are read with parseLeadingDouble (text that is not a number
// reads as 0).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "platform/user_interface.h"
#include "simulation/toolkit.h"

namespace pelvaron::simulation {

inline constexpr const char* kCountErrorText = "You must enter a number between 1 and 10";
inline constexpr const char* kClearSimulationText =
    "This command will clear all the previous spin system(s) information\n Do you want to proceed?";
inline constexpr const char* kLineWidthClampText = "Linewith must be greater than 0.01";
inline constexpr double kMinTuningWidth = 0.01;

/// A nucleus pair, 0-based, i < j.
struct NucleusPair {
    int i = 0;
    int j = 0;
    bool operator==(const NucleusPair&) const = default;
};

/// The couplings list of n nuclei is ordered (1,2), (1,3) ... (1,n), (2,3) ... (n-1,n): the pair
/// at list position `index` (0-based), or {-1, -1} for a position outside the list.
[[nodiscard]] NucleusPair couplingIndexToPair(int index, int n);
/// The list position of the pair (i, j) in either order, or -1 when it is not a pair of n nuclei.
[[nodiscard]] int couplingPairToIndex(int i, int j, int n);

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};
/// The pen of a coupling line, by the smaller nucleus index of its pair (0 ... 8).
[[nodiscard]] Rgb couplingLineColour(int smallerIndex);

/// "&New": true when it may go on (no simulation, or the person answered Yes to the warning);
/// then the simulation is released and its defaults set, ready for the flow.
[[nodiscard]] bool beginNewSimulation(Document& doc, platform::UserInterface& ui);

/// "Compare to current spc.": releases any simulation and takes its window from the present
/// data: from (refIndex - nData) / (nData / SW) to refIndex / (nData / SW) Hz, nData points, SF.
void beginCompareSimulation(Document& doc);

/// OK of the last Simulation data page, the subsystems stored: acqPars.offsetHz = simFromHz, the
/// spectrum computed, the document set up as a simulated spectrum of simSF MHz on the units of
/// simUnitsPpm, simExists = 1. False after a message, with nothing computed, when the working
/// parameters are refused.
[[nodiscard]] bool completeSimulation(Document& doc, Messages& said);

// ---------------------------------------------------------------------------------------------

/// "Input parameters": the number of nuclei of the subsystem to enter.
class InputParametersDialog {
public:
    enum Result { kRefused = 0, kAccepted = 1, kCancelled = 2 };
    explicit InputParametersDialog(Document& doc) : doc_(doc) {}

    /// Edit 1172 on opening: nNucleiInput, "%d".
    [[nodiscard]] std::string countText() const;
    /// OK reads at most two characters as an integer. 1 ... 10 and 0 (no Simulation data follows)
    /// are accepted and stored in nNucleiInput; anything else is refused (the flow shows the
    /// error and opens the dialog again).
    int ok(std::string_view typed);
    /// nNucleiInput = 0.
    int cancel();

private:
    Document& doc_;
};

// ---------------------------------------------------------------------------------------------

/// Where the ring puts a nucleus button: its top-left corner and the anchor its coupling lines
/// start from, in dialog pixels.
struct RingButton {
    int x = 0;
    int y = 0;
    int anchorX = 0;
    int anchorY = 0;
};

/// A coupling line of the ring: from anchor to anchor, in its pair's colour.
struct RingLine {
    NucleusPair pair;
    Rgb colour;
};

/// The edits of Simulation data as text, as they stand on opening or as typed before OK.
struct SimulationFields {
    std::string sf;
    std::string from;
    std::string to;
    std::string points;
    std::string lineWidth;
    std::string threshold;
    bool ppm = false;
};

/// What a click on the ring or a list asks the dialog to open next.
struct EditRequest {
    enum Kind { kNone, kShift, kCoupling };
    Kind kind = kNone;
    int i = -1;  ///< the nucleus, or the pair's first nucleus (0-based)
    int j = -1;  ///< the pair's second nucleus
};

/// "Simulation data" over the document's simulation state.
class SimulationDataDialog {
public:
    enum Result { kFailed = 0, kOk = 1, kCancelled = 2, kNewSubsystem = 3, kKeepOpen = -1 };
    explicit SimulationDataDialog(Document& doc) : doc_(doc) {}

    /// What the events found, in order, for the window to show (and empty) after each one.
    Messages said;

    /// Opening: the subsystem table, the working defaults (threshold 0.001, width 0.3) and the
    /// editing copies (loaded from currentSubsystem when editing, fresh and zeroed for a new
    /// subsystem). False after a message when the table cannot be made: the dialog closes with
    /// kFailed.
    [[nodiscard]] bool open();

    /// Editing an existing subsystem (Edit Parameters): no Cancel, no New, no Add Subsystem group.
    [[nodiscard]] bool editing() const { return doc_.sim.simNewSubsystem == 0; }
    /// New is offered only while the table has room for one more subsystem.
    [[nodiscard]] bool canAddSubsystem() const;
    [[nodiscard]] int nuclei() const { return nuclei_; }

    /// The edits' text on opening: "%.4lf" threshold, "%.2lf" width, From and To "%.2lf" (in ppm
    /// divided by simSF), "%.2lf" SF, "%d" points; the units radios.
    [[nodiscard]] SimulationFields fields() const;
    /// Unit label 1189 and the unit of the shifts: "Hertz" or "ppm".
    [[nodiscard]] std::string unitLabel() const;
    [[nodiscard]] bool ppm() const { return ppm_; }
    /// The MHz the shifts are shown and typed in: the Spc. Freq. of the last units switch in ppm,
    /// 0 in Hertz. The Chemical Shift dialog takes it.
    [[nodiscard]] double ppmFactor() const { return ppm_ ? shownSf_ : 0.0; }
    /// List 1193, "%d= %.2lf" per nucleus in the present units; after a fit, while the value is
    /// the fitted one, with its sigma ("1= 7.9512 ± 0.0021", valueWithSigma).
    [[nodiscard]] std::vector<std::string> shiftLines() const;
    /// List 1192, "%d,%d= %.2lf" per pair i < j, Hz; with the sigma as the shifts.
    [[nodiscard]] std::vector<std::string> couplingLines() const;
    /// The line width's sigma after a fit, "± 0.012"; empty without one.
    [[nodiscard]] std::string widthSigmaText() const;

    /// Whether a fit moves a shift (by list row), a coupling (by list row) or the line width, or
    /// holds it at its value; all are free until held. Rows outside the lists are ignored.
    [[nodiscard]] bool shiftFree(int row) const;
    void setShiftFree(int row, bool free);
    [[nodiscard]] bool couplingFree(int row) const;
    void setCouplingFree(int row, bool free);
    [[nodiscard]] bool widthFree() const;
    void setWidthFree(bool free);

    /// The units radios: From and To converted by the Spc. Freq. as typed (the factor a person
    /// sees; simSF until OK would convert by a number no longer shown) and shown "%.4lf" in ppm,
    /// "%.2lf" in Hertz; the shift list follows. A switch to ppm without a positive frequency
    /// is refused (false, `fields` untouched): it would divide by it.
    bool setUnits(bool ppm, SimulationFields& fields);

    /// Lays the nucleus buttons (w x h pixels) on the ring of a dialog W x H: r = trunc(0.2 H),
    /// θi = i trunc(360 / n) degrees, x = W/2 + trunc(2r sin θi), y = H/2 - trunc(r cos θi),
    /// anchor (x + w/3, y + h/2).
    void layoutRing(int width, int height, int buttonWidth, int buttonHeight);
    [[nodiscard]] const std::vector<RingButton>& ring() const { return ring_; }
    /// The nucleus whose button holds pixel (x, y), or -1.
    [[nodiscard]] int nucleusAt(int x, int y) const;
    /// A line for every pair with a nonzero coupling.
    [[nodiscard]] std::vector<RingLine> ringLines() const;

    /// A click on nucleus i: the first of a pair is remembered; a different second one asks for
    /// the pair's coupling. A second click on the same nucleus is not a pair. Indices outside
    /// the ring are ignored.
    EditRequest clickNucleus(int i);
    /// A double click on nucleus i asks for its shift (and forgets a pending first click).
    EditRequest doubleClickNucleus(int i);
    /// A line of list 1193 (shift) or 1192 (coupling); rows outside the list are ignored.
    EditRequest selectShiftLine(int row);
    EditRequest selectCouplingLine(int row);

    /// OK: reads the fields; a window, resolution or width the simulation cannot use is refused
    /// with its message and the dialog stays open (kKeepOpen). Otherwise stores the subsystem,
    /// computes the spectrum and sets the document up as a simulated spectrum on the chosen
    /// units: kOk.
    int ok(const SimulationFields& typed);
    /// Cancel: the simulation is released, yet counts as existing (simExists = 1); kCancelled.
    int cancel();
    /// New: the subsystem is stored and the next one becomes the last (kNewSubsystem); refused
    /// with a message (kKeepOpen) when the table is full.
    int addSubsystem(const SimulationFields& typed);

private:
    Document& doc_;
    int nuclei_ = 0;
    bool ppm_ = false;
    double shownSf_ = 0.0;  ///< the frequency the ppm values are shown with
    int pendingNucleus_ = -1;
    int buttonWidth_ = 0;
    int buttonHeight_ = 0;
    std::vector<RingButton> ring_;
    /// The texts last shown in the edits: a field still showing its text keeps the exact value
    /// behind it rather than the rounded one.
    SimulationFields shown_;
    double exactFromHz_ = 0.0;  ///< the window behind shown_.from and shown_.to, Hz
    double exactToHz_ = 0.0;

    [[nodiscard]] bool readParameters(const SimulationFields& typed);
    /// storeSubsystemParams with the page's held parameters; the sigmas and the Undo of a fit
    /// stay with an edited subsystem whose values the page left as they were.
    [[nodiscard]] bool storeSubsystem(double widthBefore);
    /// The record this page edits, when it edits one that holds nuclei.
    [[nodiscard]] const SpinSubsystem* editedRecord() const;
};

// ---------------------------------------------------------------------------------------------

/// "Chemical Shift" of one nucleus.
class ChemicalShiftDialog {
public:
    /// `ppmSf` > 0 shows and reads the shift in ppm of that frequency; 0 in Hertz.
    ChemicalShiftDialog(Document& doc, int nucleus, double ppmSf)
        : doc_(doc), nucleus_(nucleus), ppmSf_(ppmSf) {}
    /// Static 1180: the nucleus number, "%d".
    [[nodiscard]] std::string nucleusText() const;
    /// Edit 1179: the shift "%.2lf" (in ppm: shift / SF).
    [[nodiscard]] std::string valueText() const;
    [[nodiscard]] std::string unitLabel() const { return ppmSf_ > 0.0 ? "ppm" : "Hertz"; }
    /// Stores the typed shift (x SF in ppm) into editShifts; the text as shown keeps the shift as
    /// it was. Ignored for a nucleus outside the copies.
    void ok(std::string_view typed);

private:
    Document& doc_;
    int nucleus_;
    double ppmSf_;
};

/// "Coupling Constant" of one pair, Hz.
class CouplingConstantDialog {
public:
    CouplingConstantDialog(Document& doc, NucleusPair pair) : doc_(doc), pair_(pair) {}
    /// Static 1182: "%d,%d" (1-based).
    [[nodiscard]] std::string pairText() const;
    /// Edit 1183: J "%.2lf".
    [[nodiscard]] std::string valueText() const;
    /// Stores the typed J into editCouplings[i][j] and [j][i]; the text as shown keeps J as it
    /// was. Ignored for a pair outside the copies.
    void ok(std::string_view typed);

private:
    Document& doc_;
    NucleusPair pair_;
};

/// "Select Subsystem": one line per subsystem entered.
class SelectSubsystemDialog {
public:
    explicit SelectSubsystemDialog(Document& doc);
    /// List 1207: "%d-> No. of Nuclei: %d" for subsystems 1 ... lastSubsystem + 1.
    [[nodiscard]] std::vector<std::string> lines() const;
    /// Edit 1208: the chosen subsystem + 1.
    [[nodiscard]] std::string currentText() const;
    /// A line selected: the edit follows; rows outside the list are ignored.
    void select(int row);
    /// OK: currentSubsystem = the selected line (the previous value if none was). False, and
    /// nothing chosen, when there is no subsystem to choose.
    bool ok();

private:
    Document& doc_;
    int selected_;
};

// ---------------------------------------------------------------------------------------------

/// What a tuning step needs recomputed.
enum class Recompute { Full, WidthOnly };

/// Runs the recomputations of the Interactive Sim. dialog. The dialog has written the changed
/// value into the simulation state before it asks; what a recomputation made at once found goes
/// to `said` (one left to run later tells its own).
class TuningRunner {
public:
    virtual ~TuningRunner() = default;
    virtual void recompute(Recompute what, Messages& said) = 0;
};

/// Recomputes in place, before returning.
class ImmediateTuning final : public TuningRunner {
public:
    explicit ImmediateTuning(Document& doc) : doc_(doc) {}
    void recompute(Recompute what, Messages& said) override;

private:
    Document& doc_;
};

/// "Interactive Sim." over the subsystem chosen in Select Subsystem.
class InteractiveSimDialog {
public:
    enum class Selected { None, Shift, Coupling, Width };

    InteractiveSimDialog(Document& doc, TuningRunner& runner) : doc_(doc), runner_(runner) {}

    /// What the events found, in order, for the window to show (and empty) after each one.
    Messages said;

    /// Opening: simInteractive = 1, the editing copies loaded from currentSubsystem.
    void open();
    /// Close: simInteractive = 0.
    void close();

    /// List 1200, "%d= %.2lf" per nucleus (Hz); after a fit with each value's sigma.
    [[nodiscard]] std::vector<std::string> shiftLines() const;
    /// List 1197, "%d,%d= %.2lf" per pair; after a fit with each value's sigma.
    [[nodiscard]] std::vector<std::string> couplingLines() const;
    /// List 1205, the width "%.2lf"; after a fit with its sigma.
    [[nodiscard]] std::string widthLine() const;
    /// Static 1204: "Sel. Param.", "Shift Nuc. %d", "J (%d,%d)" or "Width".
    [[nodiscard]] std::string parameterLabel() const;
    /// Edit 1195: the selected value "%.2lf" (empty before a selection).
    [[nodiscard]] std::string parameterText() const;
    /// The increment edit on opening: "%.2lf" of 0.
    [[nodiscard]] static std::string initialIncrementText() { return "0.00"; }
    [[nodiscard]] Selected selected() const { return selected_; }

    /// A line of a list; rows outside it are ignored.
    void selectShift(int row);
    void selectCoupling(int row);
    void selectWidth();

    /// Inc, Dec and Apply with the texts of the increment edit and edit 1195. Nothing happens
    /// without a selection, or when the subsystem is gone (a load or New released it). False
    /// when nothing changed.
    bool inc(std::string_view increment);
    bool dec(std::string_view increment);
    bool apply(std::string_view value);

private:
    Document& doc_;
    TuningRunner& runner_;
    Selected selected_ = Selected::None;
    int row_ = -1;
    int subsystem_ = 0;
    int nuclei_ = 0;

    /// The subsystem this dialog tunes still exists with its nuclei.
    [[nodiscard]] bool subsystemPresent() const;
    [[nodiscard]] double selectedValue() const;
    bool change(double value);
};

}  // namespace pelvaron::simulation
