// The window-function parameters kept between uses of the apodization dialogs.
#pragma once

namespace pelvaron {

enum class Window { Exponential, Gaussian, Traficante, LorentzGauss, Sine, SineSquared, Hanning, Hamming };

struct WindowParams {
    double lbExp = 0.0;     ///< Hz
    double lbGauss = 0.0;   ///< Hz
    double shift = 0.0;     ///< fraction of the acquisition time
    double lbLg = 0.0;      ///< Hz
    double gb = 0.0;        ///< fraction
    double lbTraf = 0.0;    ///< Hz
    double sineDeg = 0.0;   ///< degrees
    double sine2Deg = 0.0;  ///< degrees
    Window selected = Window::Exponential;
    /// The function chosen last in the Interactive Apodization dialog (its ApoFunction code); kept
    /// while the program runs, whatever is loaded.
    int apoFunction = 0;
};

}  // namespace pelvaron
