// What the Fourier transform and Phase Correction dialogs keep between uses.
#pragma once

namespace pelvaron {

struct TransformState {
    // --- Fourier transform options beyond the four flags of the document.
    int ftRotate = 0;       ///< "Rotate Data" check box
    int ftRotateCount = 0;  ///< rotation, complex points
    int ftSavedNData = 0;   ///< nData when the Fourier dialog opened (restored by Cancel)
    int ftDirection = 1;    ///< +1 time to frequency, -1 frequency to time

    // --- Phase Correction dialog.
    int showPivot = 0;       ///< the phase pivot line is drawn (Phase Correction is open)
    int order0Position = 0;  ///< Order 0 scroll position, hundredths of a degree
    int order1Position = 0;  ///< Order 1 scroll position, hundredths of a degree
    int order0AtOpen = 0;    ///< Order 0 position when the dialog opened (restored by Cancel)
    int order1AtOpen = 0;    ///< Order 1 position when the dialog opened (restored by Cancel)
    /// The phases the data had when the dialog opened: Cancel returns them exactly, not as the
    /// whole hundredths of the scroll bars (0.29 degrees would come back as 0.28).
    double phase0AtOpen = 0.0;
    double phase1AtOpen = 0.0;
};

}  // namespace pelvaron
