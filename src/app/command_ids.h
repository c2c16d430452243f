// The numeric ids of every command of the menus, the toolbar and the accelerator table.
#pragma once

namespace pelvaron::app {

/// Command ids; menu items, toolbar buttons and accelerator keys all arrive as one of these.
enum CommandId : int {
    kCmdOpen = 2,
    kCmdSave = 3,
    kCmdExit = 6,
    kCmdUndo = 10,
    kCmdCopyBitmap = 11,
    kCmdSetLimits = 20,
    kCmdFull = 21,
    kCmdUnits = 23,
    kCmdScaleFactor = 24,
    kCmdIncrease = 25,
    kCmdDecrease = 26,
    kCmdParameters = 30,
    kCmdDataPoints = 31,
    kCmdApodize = 40,
    kCmdFourier = 41,
    kCmdPhase = 42,
    kCmdManualBaseline = 43,
    kCmdInvert = 44,
    kCmdHelp = 60,
    kCmdAbout = 70,
    kCmdZoom = 40007,
    kCmdIntegrate = 40008,
    kCmdPeakPicking = 40009,
    kCmdEditPeaks = 40012,
    kCmdPrint = 40014,
    kCmdMoveSpectrum = 40015,
    kCmdShowCurves = 40016,
    kCmdImport = 40019,
    kCmdLinearDrift = 40020,
    kCmdReference = 40022,
    kCmdMeasureJ = 40149,
    kCmdDeleteIntegrals = 40160,
    kCmdIntegralIncrease = 40165,
    kCmdIntegralDecrease = 40166,
    kCmdIntegralScaleFactor = 40167,
    kCmdAutophase = 40169,
    kCmdInteractiveApodization = 40172,
    kCmdDefaultMode = 40181,
    kCmdSignalToNoise = 40182,
    kCmdSuppressPeaks = 40183,
    kCmdShowValues = 40186,
    kCmdMultiPointBaseline = 40191,
    kCmdByteSwap = 40192,
    kCmdShowGrid = 40193,
    kCmdDualZoom = 40194,
    kCmdCopyMetafile = 40197,
    kCmdPrintOptions = 40198,
    kCmdAddSubtract = 40201,
    kCmdCreateExpansion = 40205,
    kCmdInsertComments = 40206,
    kCmdIntegralBaseline = 40207,
    kCmdDotDisplay = 40208,
    kCmdSimulationNew = 40210,
    kCmdInteractiveSimulation = 40212,
    kCmdCompareSimulation = 40213,
    kCmdEditSimulation = 40214,
    kCmdShiftData = 40215,
    kCmdCtrlJ = 40216,  ///< issued by Ctrl+J; no command serves it
    kCmdExportJcamp = 40217,
    kCmdProcessAsRecorded = 40218,
    kCmdPeakLabels = 40219,       ///< View > Peak Labels: the picked peaks marked on the spectrum
    kCmdExportPicture = 40220,    ///< File > Export Picture: the printed page as PDF, SVG or PNG
    kCmdOpenSpinSystem = 40221,   ///< Simulation > Open Spin System: a spin-system file simulated
    kCmdSaveSpinSystem = 40222,   ///< Simulation > Save Spin System: the present one as a file
    kCmdAutoPhaseFull = 40223,    ///< Process > Automatic Phase (0 + 1)
    kCmdAutoBaseline = 40224,     ///< Process > Baseline > Automatic Baseline
    kCmdAutoProcess = 40225,      ///< Process > Automatic Processing: a FID made a spectrum in one step
    kCmdMultipletReport = 40226,  ///< Analyse > Multiplet Report: the ranges, their patterns and the line
};

/// Tool code of Move Spectrum while it drags the baseline.
inline constexpr int kToolMoveDragging = 1971;

}  // namespace pelvaron::app
