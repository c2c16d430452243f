// The "Signal to Noise Ratio" dialog: the measured ratio and "OK".
#pragma once

#include "gui/dialogs/centered_dialog.h"

namespace pelvaron::gui {

class SignalToNoiseDialogWidget : public CenteredDialog {
    Q_OBJECT
public:
    /// `snText`: the ratio as processing::signalToNoiseText formats it.
    SignalToNoiseDialogWidget(const QString& snText, QWidget* owner);
};

}  // namespace pelvaron::gui
