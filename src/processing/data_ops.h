// The smaller operations on the data: Invert, the straight-line baseline, Reference (with its
// dialog), Shift Data, Supress Peaks and the signal-to-noise ratio, each with its dialog's logic.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::processing {

/// Multiplies every value by -1 and turns phase0 by 180 degrees.
void invertData(Document& doc);

/// Subtracts the straight line through the means of the first and last eight real parts from
/// every point, real and imaginary part alike.
void removeLinearDrift(Document& doc);

// --- Reference.

/// The status-bar prompt of the Reference command.
inline constexpr const char* kReferencePrompt = "Press  left mouse button to reference";

/// The "Reference" command's prompt; the window arms the plot's reference pick, whose click and
/// units warning are the plot's (display::leftButtonDown).
void startReferencing(platform::UserInterface& ui);

/// Puts `value` (in Hz for unit kHz, in ppm otherwise) at the position t (seconds scale) of the
/// even index p: offsetHz, offsetPpm, refIndex and acqPars.offsetHz. Values that come out as no
/// number (SF or SW of 0) leave the reference as it was: false.
bool setReference(Document& doc, double t, int p, int unit, double value);

/// The position the plot's reference pick took: t (seconds scale) and its even index; -1 when
/// nothing was picked since the load.
struct ReferencePick {
    double t = 0.0;
    int index = -1;
};

/// The "Reference" dialog without its widgets: "Current Reference" (disabled), "New Reference",
/// "OK" and "Cancel", over the position picked last. The window ends the pick when it closes.
class ReferenceDialog {
public:
    ReferenceDialog(Document& doc, ReferencePick pick) : doc_(doc), pick_(pick) {}

    /// The value at the pick in the present unit (Hz when xUnits is Hz, ppm otherwise) with
    /// "%.3lf", in both boxes.
    void open();
    [[nodiscard]] const std::string& currentText() const { return currentText_; }

    /// "New Reference" as the person leaves it.
    std::string newText;

    /// Puts the number of the new box at the pick (not a number reads as 0). A value equal to the
    /// one shown leaves the reference exactly as it was.
    void ok();
    /// Changes nothing.
    void cancel();

private:
    Document& doc_;
    ReferencePick pick_;
    int unit_ = kPpm;
    std::string currentText_;
};

// --- Shift Data.

/// Characters of the count box that are read.
inline constexpr int kShiftCountChars = 4;

/// Takes the Undo snapshot and shifts the data by `count` complex points towards the end
/// (`right`) or the start, zero filling what is left behind. Counts are held to 0 ... nData/2.
void shiftData(Document& doc, int count, bool right);

/// The "Shift Data" dialog without its widgets.
class ShiftDataDialog {
public:
    explicit ShiftDataDialog(Document& doc) : doc_(doc) {}

    /// The radio buttons show the direction chosen last.
    void open();

    bool leftShift = false;  ///< "Left Shift data" (1213) selected; "Right Shift data" (1212) otherwise
    std::string countText;   ///< "Number of Data Points to Shift:" (1214)

    /// Reads the first four characters of the count as an integer (leading digits; none, or a
    /// negative number, gives 0), remembers the direction, shifts.
    void ok();
    void cancel() {}

    /// The count OK reads from countText.
    [[nodiscard]] int count() const;

private:
    Document& doc_;
};

// --- Supress Peaks.

/// Doubles from ... to-1 (held to 0 ... nData) become 0, or, `byNoise`, the 128 doubles of the
/// noise block of the last FFT over and over.
void suppressRegion(Document& doc, int from, int to, bool byNoise);

/// The "Supress Peaks" dialog without its widgets, over the region the suppress tool picked
/// (doubles from ... to).
class SuppressPeaksDialog {
public:
    SuppressPeaksDialog(Document& doc, int from, int to) : doc_(doc), from_(from), to_(to) {}

    /// Takes the Undo snapshot; the radio buttons show the choice made last.
    void open();

    bool byZeros = false;  ///< "Substitute by zeros" (1153); "Substitute by noise" (1154) otherwise

    /// Remembers the choice, suppresses the region.
    void ok();
    void cancel() {}

private:
    Document& doc_;
    int from_, to_;
};

// --- Signal to noise.

/// The measurement with the places it used, as indices of doubles (both ends included, even).
struct SignalToNoise {
    double ratio = 0.0;   ///< |2.5 signal / noise|; 0 when the data hold no numbers there
    double signal = 0.0;  ///< signed real part of largest magnitude near the peak of the last FFT
    double noise = 0.0;   ///< range of the noise block's real parts, at least 1e-7
    int noiseFrom = 0, noiseTo = 0;
    int signalFrom = 0, signalTo = 0;
};

/// S/N of the present data at the places the last FFT noted (noiseBlock, snPeakIndex).
[[nodiscard]] SignalToNoise measureSignalToNoise(const Document& doc);
[[nodiscard]] double signalToNoise(const Document& doc);
/// The "S/N" box of the "Signal to Noise Ratio" dialog: "%.1lf".
[[nodiscard]] std::string signalToNoiseText(const Document& doc);

}  // namespace pelvaron::processing
