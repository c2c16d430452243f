// Phase correction: the rotation of every complex point by a zero-order angle plus a first-order
// term about the pivot, the unphased copy it always starts from, and Autophase.
#pragma once

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::processing {

/// Rotates the n doubles in place: point k turns by
///     theta_k = order0*3.14159/180 + order1*3.14159/180 * 4*(2k + 1 - pivot)/n,
/// order0 and order1 in degrees, pivot an even double index. First the imaginary part of point 0
/// is replaced by that of point 1. The real parts are always rotated; the imaginary parts only
/// when `imaginary` is set.
void phaseRotation(double* data, int n, double order0, double order1, int pivot, bool imaginary);

/// Turns complex points first ... last-1 of `data` by angleAtFirst + step*(k - first) radians,
/// the angle advanced from point to point by a rotation recurrence (restarted from the exact
/// value every block, so that rounding never builds up) instead of a sine and cosine per point.
void linearPhaseRotation(double* data, int first, int last, double angleAtFirst, double step);

/// The rotation of specData about peakIndex.
void phaseRotation(Spectrum& s, double order0, double order1, bool imaginary);

/// phaseRotation(s, order0, order1, true) -- the same angles, point 0's imaginary part replaced
/// by point 1's included -- by the rotation recurrence: equal to rounding, and far cheaper.
void phaseRotationByRecurrence(Spectrum& s, double order0, double order1);

/// specData -> phaseSource (nData doubles). The valid flag is the caller's.
void saveUnphased(Spectrum& s);
/// phaseSource -> specData (nData doubles).
void restoreUnphased(Spectrum& s);

/// Zero-order phase from the pivot: tries atan(-10*im/re) and atan(-im/re) at peakIndex, keeps
/// the one whose rotated real parts have the larger sum, sets phase0 to it (truncated to whole
/// degrees; the data keep the exact angle) and phase1 to 0. Makes phaseSource valid.
void autophase(Spectrum& s);

/// Autophase as the command does it: autophase, then a further half turn when the largest line of
/// the transform (peakValue) was negative.
void autophaseUpright(Spectrum& s);

/// The Autophase command: autophaseUpright, told to the document's views.
void autophaseCommand(Document& doc);

/// A total phase correction about the present pivot (peakIndex), degrees.
struct PhaseSettings {
    double phase0 = 0.0;
    double phase1 = 0.0;
};

/// Phase Correction with typed orders and OK, without the dialog: both parts of every point turned
/// from the unphased copy (taken now if none is valid) by the settings; phase0 and phase1 become
/// them and the copy is valid.
void applyPhase(Spectrum& s, const PhaseSettings& p);

}  // namespace pelvaron::processing
