// The window functions of apodization: each multiplies the first n doubles in place by a factor
// computed from the double's index m (not the complex point number).
#pragma once

#include "document/document.h"

namespace pelvaron::processing {

/// exp(-pi*lb*m/(2*sw)) for m = 0 ... n-3; the last complex point is left unchanged.
/// `lb` and `sw` in Hz.
void exponentialWindow(double* data, int n, double lb, double sw);

/// exp(-u^2/(4 ln 2)) with u = 3.14159*lb*t - shift*aq and t = m*aq/n. `shift` is a fraction of
/// the acquisition time `aq` (seconds).
void gaussianWindow(double* data, int n, double lb, double shift, double aq);

/// E/(E^2 + F^2) with E = exp(b*m), F = exp(b*(n-m)), b = -pi*lb/(2*sw).
void traficanteWindow(double* data, int n, double lb, double sw);

/// exp(-a*t + a*t^2/(2*gb*aq)) with a = pi*lb and t = m*aq/n. A negative `lb` makes the factor
/// rise from 1 to its top at t = gb*aq. `gb` must not be 0 (the dialog refuses it).
void lorentzGaussWindow(double* data, int n, double lb, double gb, double aq);

/// sin(phi + (pi - phi)*m/n) with phi = degrees*pi/180, or its square: from sin(phi) at m = 0
/// down to 0 at m = n.
void sineBellWindow(double* data, int n, double degrees, bool squared);

/// 0.5 + 0.5*cos(pi*m/n): a half window from 1 down to just above 0.
void hanningWindow(double* data, int n);

/// 0.54 + 0.46*cos(pi*m/n).
void hammingWindow(double* data, int n);

/// A FID as the spectrometer-style windows below see it: `points` time points of `valuesPerPoint`
/// doubles each (2: real then imaginary part; 1: real samples), `dwell` seconds apart. Both values
/// of point k get the factor of the time t = k*dwell, and the acquisition time is
/// AQ = points*dwell: the windows span the points given, not the zero filling after them.
struct FidLayout {
    int points = 0;
    int valuesPerPoint = 2;
    double dwell = 0.0;  ///< seconds
};

/// The spectrometer software's exponential (WDW EM): exp(-pi*lb*t), lb in Hz.
void emWindow(double* data, const FidLayout& fid, double lb);

/// The spectrometer software's Lorentz-to-Gauss window (WDW GM):
///     exp(-pi*lb*t + pi*lb*t^2/(2*gb*AQ)),
/// which for a negative `lb` rises from 1 to its top at t = gb*AQ and falls as a Gaussian after
/// it. gb <= 0 leaves the Gaussian term out (the exponential of lb alone).
void gmWindow(double* data, const FidLayout& fid, double lb, double gb);

/// The spectrometer software's sine bells (WDW SINE, and QSINE when `squared`):
///     sin(phi + (pi - phi)*t/AQ),  phi = pi/ssb,
/// from sin(phi) at the first point down towards 0 one point after the last; ssb = 2 is a cosine
/// bell. An ssb of 1 or less (0 as recorded when none was set) gives phi = 0, the plain sine.
void sineWindow(double* data, const FidLayout& fid, double ssb, bool squared);

/// Applies the selected window of doc.window to specData with the document's nData, SW and AQ.
/// The caller has checked the parameters (see WindowFunctionDialog).
void applyWindow(Document& doc);

}  // namespace pelvaron::processing
