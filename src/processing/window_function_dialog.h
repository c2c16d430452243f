// The "Window Function Parameters" dialog without its widgets: the eight radio buttons, the
// eight edit boxes, the three validation messages, OK and Cancel.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::processing {

class WindowFunctionDialog {
public:
    WindowFunctionDialog(Document& doc, platform::UserInterface& ui) : doc_(doc), ui_(ui) {}

    /// Takes the Undo snapshot and shows the stored selection and parameters ("%.2lf").
    void open();

    /// Stores the selection and the numbers of the edit boxes, checks them and applies the
    /// selected window. False when a check failed: the message was shown, the values are stored,
    /// the data are unchanged and the dialog stays open.
    [[nodiscard]] bool ok();

    /// The radio buttons and the edit boxes, as the person leaves them.
    Window selected = Window::Exponential;
    std::string lbExpText;     ///< 1034
    std::string lbGaussText;   ///< 1036
    std::string shiftText;     ///< 1037
    std::string lbLgText;      ///< 1043
    std::string gbText;        ///< 1035
    std::string lbTrafText;    ///< 1046
    std::string sineDegText;   ///< 1068
    std::string sine2DegText;  ///< 1070

private:
    Document& doc_;
    platform::UserInterface& ui_;
};

}  // namespace pelvaron::processing
