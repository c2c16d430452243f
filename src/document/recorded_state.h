// How the spectrometer software processed the FID that was loaded, as its processed data set
// ("pdata/1/procs") records it: what "Process as Recorded" repeats.
#pragma once

namespace pelvaron {

struct RecordedProcessing {
    bool present = false;  ///< the FID came with a procs file
    int WDW = 0;           ///< window function: 0 none, 1 EM, 2 GM, 3 SINE, 4 QSINE (others: none)
    double LB = 0.0;       ///< line broadening, Hz (negative for GM)
    double GB = 0.0;       ///< GM: position of the Gaussian's top, fraction of the acquisition time
    double SSB = 0.0;      ///< SINE/QSINE: the bell starts at pi/SSB (0 or 1: a plain sine)
    int SI = 0;            ///< complex points of the spectrum (zero fill or truncation)
    int TDeff = 0;         ///< FID values used (0: all)
    double PHC0 = 0.0;     ///< zero-order phase, degrees
    double PHC1 = 0.0;     ///< first-order phase across the spectrum, degrees
    double FCOR = 0.5;     ///< factor of the first FID point
    int PH_mod = 1;        ///< phase: 0 none, 1 PHC0 and PHC1, 2 magnitude (the modulus of each point)
    int BC_mod = 0;        ///< the FID's DC offset: 0 kept, 1 one for both parts, 2 one for each
                           ///< part; 3 to 6 polynomials and solvent filters (not repeated)
    bool haveOffset = false;
    double OFFSET = 0.0;  ///< ppm of the spectrum's first (left-most) point
    double SW_p = 0.0;    ///< width of the processed spectrum, Hz
    double SF = 0.0;      ///< frequency of 0 ppm, MHz (0: not recorded)
};

}  // namespace pelvaron
