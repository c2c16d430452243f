// The Spectrum document: the one data set the program holds, with its acquisition parameters,
// processing state, display state and the state records of the other subsystems.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "document/acq_params.h"
#include "document/analysis_state.h"
#include "document/baseline_state.h"
#include "document/comment_list.h"
#include "document/data_buffer.h"
#include "document/data_ops_state.h"
#include "document/expansion_state.h"
#include "document/geometry.h"
#include "document/import_state.h"
#include "document/integral_state.h"
#include "document/jcamp_state.h"
#include "document/recorded_state.h"
#include "document/reference_source.h"
#include "document/simulation_state.h"
#include "document/tool_state.h"
#include "document/transform_state.h"
#include "document/window_params.h"

namespace pelvaron {

namespace platform {
class UserInterface;
}

/// Unit codes of the axis and the read-out.
enum Units : int { kSeconds = 1, kPpm = 2, kHz = 3, kPoints = 4 };

/// The warning of a data set larger than the buffers; its size follows the capacity (it read
/// "64K" when they held 65536 points).
inline constexpr const char* kCapacityWarningText =
    "Time domain exceeds Pelvaron capabilities \n It will be trucated to 512K data points";
static_assert(kCapacityPoints == 512 * 1024, "kCapacityWarningText names the capacity");

/// Displays divide by |peakValue| and use 1.0 instead below this magnitude.
inline constexpr double kTinyPeak = 1e-7;

struct Document {
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // --- Data buffers: interleaved complex pairs, 2k real and 2k+1 imaginary part of point k.
    DataBuffer specData;     ///< the working data set
    DataBuffer undoData;     ///< the Undo snapshot
    DataBuffer fidCopy;      ///< the time-domain data as last obtained
    DataBuffer secondData;   ///< second data set of the Add/Subtract display
    DataBuffer phaseSource;  ///< unphased copy each phase correction starts from
    DataBuffer workCurve;    ///< scratch curve (manual baseline, simulated spectrum, ...)
    int nData = kCapacity;   ///< doubles in use
    /// specData[max(specExtent, nData) ...] are all 0: clearing before a load need go no further.
    /// Whatever leaves values beyond a smaller nData (the transform's size list, a longer
    /// simulation) notes them (noteSpecExtent) before nData shrinks.
    int specExtent = 0;

    AcqParams acqPars;
    /// Group delay of the digital filter in points ("##$GRPDLY="); 0 when the data carry none.
    /// Kept beside DECIM/DSPFVS but not part of the 72-byte block.
    double groupDelay = 0.0;
    /// Where offsetHz came from; set by the reader (and by whatever rewrites the reference).
    ReferenceSource referenceSource = ReferenceSource::None;

    // --- Derived reference quantities.
    double offsetHz = 0.0;   ///< working copy: Hz of the last point
    double offsetPpm = 0.0;  ///< offsetHz / SF
    int refIndex = 0;        ///< index (doubles) at which 0 Hz lies; may exceed nData
    double peakValue = 0.0;  ///< signed real value of largest magnitude
    int peakIndex = 0;       ///< even index of peakValue; also the phase pivot

    // --- Processing state.
    int ftReal = 0;
    int ftDriftCorr = 1;
    int ftQuadrature = 1;
    int ftInverse = 0;
    int negateImag = 0;
    int fileNegateImag = 0;
    double phase0 = 0.0;  ///< degrees
    double phase1 = 0.0;  ///< degrees
    int phaseSourceValid = 0;
    int xUnits = kSeconds;
    int unitSeconds = 1, unitPpm = 0, unitHz = 0, unitPoints = 0;
    int loadReal = 0, loadQuadrature = 1, fidCopyFromInverse = 0;
    /// Doubles of fidCopy that hold a FID; 0 when none is stored (a spectrum read from a file).
    int fidCopyCount = 0;
    WindowParams window;

    // --- Undo.
    double undoPeakValue = 0.0;
    int undoFtReal = 0, undoFtDriftCorr = 1, undoFtQuadrature = 1, undoFtInverse = 0,
        undoNegateImag = 0;
    /// nData (and TD) that Undo goes back to, with the data on the seconds axis and no phase
    /// correction, when the snapshot holds a FID of another size than the command left (Process as
    /// Recorded). 0: Undo keeps the size, as after every other command. Every snapshot clears it.
    int undoNData = 0;

    // --- Display state.
    double viewLeft = 0.0;
    double viewRight = 0.0;
    double viewZoom = 1.0;
    int fullView = 1;
    double vScale = 75.0;
    double yScaleFactor = 1.33;
    int clientWidth = 1280;
    int clientHeight = 800;
    int baselineY = 400;
    Rect plotRect{0, 29, 1280, 781};
    Rect dualRect{0, 29, 1280, 781};
    int showGrid = 0, dotDisplay = 0, dualZoom = 0;
    int addSubMode = 0;
    int secondShift = 0;
    int secondFactor = 100;
    int secondFactorRange = 500;  ///< the factor bar's maximum (raised by x10 steps)
    int secondBaselineY = 240;
    int toolMode = kNoTool;
    int rubberShape = 0;
    int toolActive = 0;
    int referenceMode = 0;
    int nExpansions = 0;
    std::array<int, kMaxExpansions> expansionUsed{};
    ExpansionState expansions;
    PrintState print;
    int haveDocument = 0;
    int readoutOn = 0;
    int noSaveQuery = 1;
    int hScrollPos = 0;
    int hScrollRange = kCapacity;

    // --- State records of the other subsystems.
    IntegralState integrals;
    PeakState peaks;
    JState jState;
    CommentList comments;
    ToolState tools;
    SimulationState sim;
    ImportState import;
    TransformState transform;
    BaselineState baseline;
    DataOpsState dataOps;
    JcampState jcamp;
    RecordedProcessing recorded;  ///< how the spectrometer software processed the loaded FID

    // --- File names: the path chosen last and the name shown in the title.
    std::string filePath;
    std::string fileTitle;

    /// Clears specData as a load does: every value that may be other than 0.
    void clearSpecData();
    /// Notes that specData may hold values other than 0 below `count` doubles.
    void noteSpecExtent(int count) { specExtent = std::max(specExtent, std::clamp(count, 0, kCapacity)); }
    /// The doubles of specData that may be other than 0.
    [[nodiscard]] int specInUse() const { return std::max(specExtent, std::clamp(nData, 0, kCapacity)); }

    /// Sets the client size as at window creation: baselines, plot and dual rectangles.
    void initClientArea(int width, int height);
};

/// The signed real value of largest magnitude among the real parts; sets peakIndex. Among equal
/// magnitudes the last one wins.
double findPeak(Document& doc);

/// Copies specData[0..nData-1] and peakValue into the Undo snapshot; clears undoNData.
void takeUndoSnapshot(Document& doc);

/// Copies the five transform flags and the group-delay ramp into Undo's copies, for a command
/// whose Undo returns them with the data.
void takeUndoFlags(Document& doc);

/// Copies the snapshot back over the present nData doubles; returns the snapshot's peakValue.
[[nodiscard]] double restoreUndo(Document& doc);

/// The Undo command: data, peakValue and the five transform flags (and, when undoNData is set,
/// the FID's size, seconds axis and absent phase correction).
void undoCommand(Document& doc);

/// Limits nData and TD to the buffer capacity, with the truncation warning when it cuts.
void capToCapacity(Document& doc, platform::UserInterface& ui);

/// The document set-up that follows every successful load.
void setupDocument(Document& doc, platform::UserInterface& ui);

/// AQ / (right - left), with the difference replaced by 1e-4 when smaller than 1e-4.
[[nodiscard]] double computeViewZoom(double aq, double left, double right);

/// The state of a spectrum that was read rather than transformed here (a processed 1r/1i, a
/// JCAMP-DX spectrum), as a forward transform leaves it: ppm units, and the inverse transform
/// proposed next (Undo's copies of the transform flags included). Called after the set-up.
void markAsSpectrum(Document& doc);

/// Adds 180 degrees to phase0, keeping it in (-180, 180] once it has been there.
void addHalfTurn(Document& doc);

}  // namespace pelvaron
