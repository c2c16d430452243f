// State of the Fourier transform, phase correction and signal-to-noise bookkeeping that lives
// between commands.
#pragma once

namespace pelvaron {

struct TransformState {
    // --- Fourier transform options beyond the four flags of the document.
    int ftRotate = 0;       ///< "Rotate Data" check box
    int ftRotateCount = 0;  ///< rotation, complex points
    int ftSavedNData = 0;   ///< nData when the Fourier dialog opened (restored by Cancel)
    int ftDirection = 1;    ///< +1 time to frequency, -1 frequency to time

    /// Group delay (points) that the last forward transform took off as a first-order phase ramp,
    /// beyond its whole-point rotation; the inverse transform puts it back, so that it returns the
    /// rotated FID. 0 when the data carry no such ramp.
    double delayFraction = 0.0;
    /// The ramp's zero frequency lies in the middle of the spectrum (quadrature alternation was on).
    int delayCentred = 1;
    double undoDelayFraction = 0.0;  ///< delayFraction when the transform took its Undo snapshot
    int undoDelayCentred = 1;

    // --- Phase Correction dialog.
    int showPivot = 0;       ///< the phase pivot line is drawn (Phase Correction is open)
    int order0Position = 0;  ///< Order 0 scroll position, hundredths of a degree
    int order1Position = 0;  ///< Order 1 scroll position, hundredths of a degree
    int order0AtOpen = 0;    ///< Order 0 position when the dialog opened (restored by Cancel)
    int order1AtOpen = 0;    ///< Order 1 position when the dialog opened (restored by Cancel)

    // --- Signal-to-noise bookkeeping, refreshed at the end of every FFT.
    int snMarksValid = 0;      ///< the three marks below describe the present data set
    int noiseBlock = 0;        ///< the noise region is doubles 128*noiseBlock ... +127
    int snPeakIndex = 0;       ///< even index of the largest real part at the last FFT
    double snPeakValue = 0.0;  ///< its signed value, as the FFT left it (before any scaling)
};

}  // namespace pelvaron
