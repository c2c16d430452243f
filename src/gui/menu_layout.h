// Where every command stands in the menus and on the toolbar, with its documented text. The
// window shows an item only when a command serves its id, so subsystems appear in the menus as
// they register their commands.
#pragma once

#include <array>
#include <span>

#include "app/command_ids.h"

namespace pelvaron::gui {

/// One menu entry: an item (id > 0), a separator (id 0), or a submenu opening (id -1, with its
/// title) and closing (id -2).
struct MenuEntry {
    int id;
    const char* text;
    bool checkable = false;
};

inline constexpr int kSeparator = 0;
inline constexpr int kSubmenu = -1;
inline constexpr int kEndSubmenu = -2;

struct MenuDefinition {
    const char* title;
    std::span<const MenuEntry> entries;
};

namespace menus {

inline constexpr MenuEntry kFile[] = {
    {app::kCmdOpen, "&Open\tCtrl+O"},
    {app::kCmdImport, "&Import\tCtrl+I"},
    {app::kCmdSave, "&Save\tCtrl+S"},
    {app::kCmdExportJcamp, "&Export JCamp"},
    {kSeparator, ""},
    {app::kCmdByteSwap, "Byte S&wap "},
    {kSeparator, ""},
    {app::kCmdPrint, "&Print\tCtrl+P"},
    {app::kCmdPrintOptions, "Print O&ut Options..."},
    {app::kCmdCopyMetafile, "&Copy Metafile to Clipboard\tCtrl-C"},
    {app::kCmdCopyBitmap, "Copy &Bitmap to Clipboard"},
    {app::kCmdExportPicture, "Export Pic&ture..."},
    {kSeparator, ""},
    {app::kCmdExit, "E&xit"},
};

inline constexpr MenuEntry kEdit[] = {
    {app::kCmdUndo, "&Undo\tCtrl+Z"},
    {kSeparator, ""},
    {app::kCmdInsertComments, "I&nsert Comments\tCtrl-N"},
};

inline constexpr MenuEntry kView[] = {
    {app::kCmdDefaultMode, "De&fault Mode"},
    {app::kCmdZoom, "&Zoom"},
    {app::kCmdFull, "&Full\tCtrl+F"},
    {app::kCmdSetLimits, "&Set Limits"},
    {app::kCmdDualZoom, "&Dual Display Zoom", true},
    {app::kCmdMoveSpectrum, "&Move Spectrum"},
    {app::kCmdCreateExpansion, "&Create Expansions\tCtrl+E"},
    {kSeparator, ""},
    {kSubmenu, "Scale &Y"},
    {app::kCmdIncrease, "&Increase  (+)"},
    {app::kCmdDecrease, "&Decrease  (-)"},
    {app::kCmdScaleFactor, "Scale &Factor"},
    {kEndSubmenu, ""},
    {app::kCmdUnits, "Scale &Units..."},
    {kSeparator, ""},
    {app::kCmdShowGrid, "Show &Grid", true},
    {app::kCmdDotDisplay, "Dot Dis&play", true},
    {app::kCmdPeakLabels, "Peak &Labels", true},
    {kSeparator, ""},
    {app::kCmdParameters, "&Parameters"},
    {app::kCmdDataPoints, "D&ata points"},
};

inline constexpr MenuEntry kProcess[] = {
    {app::kCmdApodize, "&Apodize..."},
    {app::kCmdInteractiveApodization, "In&teractive Apodization"},
    {app::kCmdFourier, "&Fourier transform..."},
    {app::kCmdProcessAsRecorded, "Process as &Recorded\tCtrl+R"},
    {app::kCmdAutoProcess, "Auto&matic Processing\tCtrl+M"},
    {kSeparator, ""},
    {app::kCmdPhase, "&Phase Correction"},
    {app::kCmdAutophase, "Au&tophase"},
    {app::kCmdAutoPhaseFull, "Automatic Phase (&0 + 1)"},
    {kSubmenu, "&Baseline"},
    {app::kCmdAutoBaseline, "&Automatic Baseline"},
    {app::kCmdManualBaseline, "Manual Baseline &Correction"},
    {app::kCmdLinearDrift, "&Baseline Correction"},
    {app::kCmdMultiPointBaseline, "&Multiple Point Baseline Correction"},
    {kEndSubmenu, ""},
    {kSeparator, ""},
    {app::kCmdInvert, "&Invert"},
    {app::kCmdReference, "&Reference"},
    {app::kCmdShiftData, "&Shift Data"},
    {app::kCmdSuppressPeaks, "S&uppress peaks"},
    {app::kCmdSignalToNoise, "Signal to &Noise ratio..."},
};

inline constexpr MenuEntry kAnalyse[] = {
    {app::kCmdPeakPicking, "&Peak Picking"},
    {app::kCmdEditPeaks, "&Edit peaks"},
    {kSeparator, ""},
    {app::kCmdIntegrate, "&Integrate"},
    {kSubmenu, "Integral &Options"},
    {app::kCmdShowCurves, "Show &curves", true},
    {app::kCmdShowValues, "Show &values", true},
    {app::kCmdIntegralBaseline, "&Baseline Correction", true},
    {kSeparator, ""},
    {app::kCmdIntegralIncrease, "&Increase\t(Key Up)"},
    {app::kCmdIntegralDecrease, "&Decrease \t(Key Down)"},
    {app::kCmdIntegralScaleFactor, "&Scale factor..."},
    {kEndSubmenu, ""},
    {app::kCmdDeleteIntegrals, "&Delete Integrals"},
    {kSeparator, ""},
    {app::kCmdMeasureJ, "Measure &J"},
    {app::kCmdMultipletReport, "&Multiplet Report"},
};

inline constexpr MenuEntry kTools[] = {
    {app::kCmdAddSubtract, "&Add/Substract FID's/Spectra"},
};

inline constexpr MenuEntry kSimulation[] = {
    {app::kCmdSimulationNew, "&New"},
    {app::kCmdEditSimulation, "&Edit Parameters"},
    {app::kCmdInteractiveSimulation, "&Interactive Simulation"},
    {app::kCmdCompareSimulation, "Compare to current spc."},
    {kSeparator, ""},
    {app::kCmdOpenSpinSystem, "&Open Spin System..."},
    {app::kCmdSaveSpinSystem, "&Save Spin System..."},
};

inline constexpr MenuEntry kHelp[] = {
    {app::kCmdHelp, "&Help\tF1"},
    {app::kCmdAbout, "&About..."},
};

}  // namespace menus

inline constexpr std::array<MenuDefinition, 8> kMenus = {{
    {"&File", menus::kFile},
    {"&Edit", menus::kEdit},
    {"&View", menus::kView},
    {"&Process", menus::kProcess},
    {"&Analyse", menus::kAnalyse},
    {"&Tools", menus::kTools},
    {"&Simulation", menus::kSimulation},
    {"&Help", menus::kHelp},
}};

/// One toolbar button (id 0: a separator) with its icon resource and tool tip.
struct ToolButton {
    int id;
    const char* icon;
    const char* toolTip;
};

inline constexpr std::array<ToolButton, 24> kToolbar = {{
    {app::kCmdOpen, "open", "Open"},
    {app::kCmdSave, "save", "Save"},
    {app::kCmdPrint, "print", "Print"},
    {kSeparator, "", ""},
    {app::kCmdDefaultMode, "default_mode", "Default Mode"},
    {app::kCmdDualZoom, "dual_zoom", "Dual Display Zoom"},
    {app::kCmdZoom, "zoom", "Zoom"},
    {app::kCmdMoveSpectrum, "vertical_shift", "Vertical Shift"},
    {app::kCmdIncrease, "increase", "Increase"},
    {app::kCmdDecrease, "decrease", "Decrease"},
    {app::kCmdFull, "full", "Full"},
    {kSeparator, "", ""},
    {app::kCmdApodize, "apodization", "Apodization"},
    {app::kCmdFourier, "fourier", "Fourier Transform"},
    {app::kCmdProcessAsRecorded, "recorded", "Process as Recorded"},
    {app::kCmdPhase, "phase", "Phase Correction"},
    {app::kCmdAutophase, "autophase", "Autophase"},
    {app::kCmdAutoPhaseFull, "auto_phase", "Automatic Phase (0 + 1)"},
    {app::kCmdAutoProcess, "auto_process", "Automatic Processing"},
    {app::kCmdManualBaseline, "baseline", "Baseline Correction"},
    {app::kCmdReference, "reference", "Reference Spectrum"},
    {app::kCmdPeakPicking, "peak_picking", "Peak Picking"},
    {app::kCmdIntegrate, "integrate", "Integrate"},
    {app::kCmdAddSubtract, "add_subtract", "Add/Substract FID's Spectra"},
}};

/// The accelerator table: key sequence text (Qt's portable form) and command.
struct Accelerator {
    const char* keys;
    int id;
};

inline constexpr std::array<Accelerator, 17> kAccelerators = {{
    {"Ctrl+A", app::kCmdAddSubtract},
    {"Ctrl+C", app::kCmdCopyMetafile},
    {"Ctrl+E", app::kCmdCreateExpansion},
    {"Ctrl+F", app::kCmdFull},
    {"Ctrl+I", app::kCmdImport},
    {"Ctrl+J", app::kCmdCtrlJ},
    {"Ctrl+M", app::kCmdAutoProcess},
    {"Ctrl+N", app::kCmdInsertComments},
    {"Ctrl+O", app::kCmdOpen},
    {"Ctrl+P", app::kCmdPrint},
    {"Ctrl+R", app::kCmdProcessAsRecorded},
    {"Ctrl+S", app::kCmdSave},
    {"Ctrl+T", app::kCmdFourier},
    {"Ctrl+Z", app::kCmdUndo},
    {"Up", app::kCmdIntegralIncrease},
    {"Down", app::kCmdIntegralDecrease},
    {"F1", app::kCmdHelp},
}};

}  // namespace pelvaron::gui
