// The display's scroll-bar codes of a Qt scroll bar's action.
#pragma once

#include <QAbstractSlider>

#include "display/tools.h"

namespace pelvaron::gui {

[[nodiscard]] inline display::ScrollCode scrollCodeOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: return display::ScrollCode::LineLeft;
        case QAbstractSlider::SliderSingleStepAdd: return display::ScrollCode::LineRight;
        case QAbstractSlider::SliderPageStepSub: return display::ScrollCode::PageLeft;
        case QAbstractSlider::SliderPageStepAdd: return display::ScrollCode::PageRight;
        case QAbstractSlider::SliderMove: return display::ScrollCode::Thumb;
        default: return display::ScrollCode::Other;
    }
}

}  // namespace pelvaron::gui
