// The mouse tool of the plot as one value: which tool the left button works with, in which
// phase, and whether the Multiple Point Baseline dialog takes the clicks first; the rubber band
// a drag draws follows from the tool.
#pragma once

namespace pelvaron::display {

/// The tool the left button works with.
enum class Tool {
    None,            ///< plain pointing (tool code 8989)
    Zoom,            ///< a rectangle zooms in; from the overview band onto the whole data (40007)
    Integrate,       ///< a rectangle integrates its columns (40008)
    PeakPicking,     ///< a rectangle picks the peaks above its lower edge (40009)
    Suppress,        ///< a rectangle asks to suppress its columns (40183)
    MoveArmed,       ///< Move Spectrum chosen: the next button-down starts the move (40015)
    MoveDrag,        ///< Move Spectrum under way: the release sets the trace's baseline row (1971)
    MeasureJ,        ///< a vertical line places a J cursor (40149)
    ReferencePick,   ///< the next click picks the reference position (until its dialog closes)
    MultipletAdd,    ///< a rectangle adds a multiplet range over its columns
    MultipletSplit,  ///< a click (or a vertical line dragged) splits the multiplet range under it
};

/// The band a drag draws over the plot.
enum class RubberBand { None, HorizontalLine, Rectangle, VerticalLine };

/// The rubber band of `tool`; the armed Move Spectrum draws the rectangle until its button-down
/// turns it into the line.
[[nodiscard]] constexpr RubberBand rubberBandOf(Tool tool) {
    switch (tool) {
        case Tool::Zoom:
        case Tool::Integrate:
        case Tool::PeakPicking:
        case Tool::Suppress:
        case Tool::MultipletAdd:
        case Tool::MoveArmed: return RubberBand::Rectangle;
        case Tool::MoveDrag: return RubberBand::HorizontalLine;
        case Tool::MeasureJ:
        case Tool::MultipletSplit: return RubberBand::VerticalLine;
        case Tool::None:
        case Tool::ReferencePick: break;
    }
    return RubberBand::None;
}

/// Whether a button-down starts a drag of `tool`.
[[nodiscard]] constexpr bool dragsWith(Tool tool) { return rubberBandOf(tool) != RubberBand::None; }

struct MouseTool {
    Tool tool = Tool::None;
    /// The Multiple Point Baseline dialog is collecting points: clicks go to it before the tool,
    /// which stays chosen for after the dialog.
    bool baselinePick = false;
};

}  // namespace pelvaron::display
