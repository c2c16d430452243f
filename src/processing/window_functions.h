// The window functions of apodization: each multiplies the first n doubles in place by a factor
// computed from the double's index m (not the complex point number).
#pragma once

#include <optional>

#include "base/result.h"
#include "document/spectrum.h"
#include "document/window_params.h"

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

/// What Apodize applies: the selected window and the parameters of every window (the dialog keeps
/// all of them between uses).
using WindowSettings = WindowParams;

/// Why a window cannot be applied.
enum class WindowProblem {
    ShiftOutOfRange,  ///< the Gaussian's shift is not between 0 and 1
    GbOutOfRange,     ///< the Lorentzian/Gaussian's GB is not above 0 and at most 1
};

/// The program's message for a refused window.
[[nodiscard]] Message windowMessage(WindowProblem problem);

/// Said when a positive LB of the Lorentzian/Gaussian is taken as its negative.
inline constexpr Message kNegativeLbNotice{
    "LB must be negative for the Lorentzian/Gaussian function\nPelvaron will use the negative of that value.",
    "Error", MessageIcon::Information};

/// The settings as the window will use them, and what checking them found.
struct WindowCheck {
    WindowSettings settings;  ///< a positive LB of the Lorentzian/Gaussian negated
    bool lbNegated = false;   ///< kNegativeLbNotice applies
    std::optional<WindowProblem> problem;
};

/// Checks the parameters of the selected window. The ranges are written so that a value that is
/// not a number fails them too.
[[nodiscard]] WindowCheck checkWindow(const WindowSettings& w);

/// Applies the selected window to the nData doubles of the spectrum with its SW and AQ; the
/// settings have been checked (checkWindow).
void applyWindow(Spectrum& s, const WindowSettings& w);

/// Checks the settings and applies the window; nothing changes when they are refused.
[[nodiscard]] Status<WindowProblem> apodize(Spectrum& s, const WindowSettings& w);

}  // namespace pelvaron::processing
