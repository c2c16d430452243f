// The Spectrum document: the one data set the program holds, with its acquisition parameters,
// processing state and the state records of the other subsystems. How a window shows it is the
// window's own (display::View).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/geometry.h"
#include "document/acq_params.h"
#include "document/analysis_state.h"
#include "document/baseline_state.h"
#include "document/changes.h"
#include "document/comment_list.h"
#include "document/data_buffer.h"
#include "document/data_ops_state.h"
#include "document/import_state.h"
#include "document/integral_state.h"
#include "document/jcamp_state.h"
#include "document/multiplet_state.h"
#include "document/simulation_state.h"
#include "document/spectrum.h"
#include "document/transform_state.h"
#include "document/window_params.h"

namespace pelvaron {

/// The warning of a data set larger than the buffers; its size follows the capacity (it read
/// "64K" when they held 65536 points).
inline constexpr const char* kCapacityWarningText =
    "Time domain exceeds Pelvaron capabilities \n It will be trucated to 512K data points";
static_assert(kCapacityPoints == 512 * 1024, "kCapacityWarningText names the capacity");

struct Document {
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    /// The data set the person works on.
    Spectrum spectrum;
    /// Undo's copy: the data and peakValue of the last snapshot, and the five transform flags
    /// with the filter's delay ramp as the last command that keeps them for Undo left them.
    Spectrum undo;
    /// nData (and TD) that Undo goes back to, with the data on the seconds axis and no phase
    /// correction, when the snapshot holds a FID of another size than the command left (Process as
    /// Recorded). 0: Undo keeps the size, as after every other command. Every snapshot clears it.
    int undoNData = 0;
    /// The buffers an import reads into: the data set it replaces moves here whole, without a
    /// copy, so that a failed read gives it back, and the next import reads into these.
    Spectrum importSpare;

    // --- The time-domain data as last obtained, for interactive apodization.
    DataBuffer fidCopy;
    /// Doubles of fidCopy that hold a FID; 0 when none is stored (a spectrum read from a file).
    int fidCopyCount = 0;
    int loadReal = 0, loadQuadrature = 1, fidCopyFromInverse = 0;

    DataBuffer secondData;  ///< second data set of the Add/Subtract display
    DataBuffer workCurve;   ///< scratch curve (manual baseline, simulated spectrum, ...)
    WindowParams window;

    /// A data set is loaded (or simulated); 0 before the first.
    int haveDocument = 0;
    /// The data are saved as they stand: closing asks no save question.
    int noSaveQuery = 1;

    // --- State records of the other subsystems.
    IntegralState integrals;
    PeakState peaks;
    /// The multiplet report (Analyse > Multiplet Report); empty until it is made.
    MultipletState multiplets;
    JState jState;
    CommentList comments;
    SimulationState sim;
    ImportState import;
    TransformState transform;
    BaselineState baseline;
    DataOpsState dataOps;
    JcampState jcamp;

    // --- File names: the path chosen last and the name shown in the title.
    std::string filePath;
    std::string fileTitle;

    /// Observers told of every change (document.notify); not owned.
    std::vector<DocumentObserver*> observers;
    /// Tells every observer what changed (a set of Change bits).
    void notify(ChangeSet changes) const;
};

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

/// Limits nData and TD to the buffer capacity; true when it cut them (the caller warns with
/// kCapacityWarningText).
[[nodiscard]] bool capToCapacity(Spectrum& s);

/// The document set-up that follows every successful load: resets processing, units, phase and
/// every subsystem's per-data state, takes the Undo snapshot and tells the observers
/// (kDocumentReplaced and every other change; the views show the new data whole).
void setupDocument(Document& doc);

/// The state of a spectrum that was read rather than transformed here (a processed 1r/1i, a
/// JCAMP-DX spectrum), as a forward transform leaves it: ppm units, and the inverse transform
/// proposed next (Undo's copies of the transform flags included). Called after the set-up.
void markAsSpectrum(Document& doc);

}  // namespace pelvaron
