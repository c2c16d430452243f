// The "Window Function Parameters" dialog without its widgets: the eight radio buttons, the
// eight edit boxes, the three validation messages, OK and Cancel.
#pragma once

#include <string>
#include <vector>

#include "base/result.h"
#include "document/document.h"
#include "processing/window_functions.h"

namespace pelvaron::processing {

/// What the person is told of a check, in order: kNegativeLbNotice, then the refusal.
[[nodiscard]] std::vector<Message> windowMessages(const WindowCheck& check);

class WindowFunctionDialog {
public:
    explicit WindowFunctionDialog(Document& doc) : doc_(doc) {}

    /// Takes the Undo snapshot and shows the stored selection and parameters ("%.2lf").
    void open();

    /// Stores the selection and the numbers of the edit boxes, checks them and applies the
    /// selected window; returns what the check found (windowMessages says it). When it refused
    /// them the values are stored, the data are unchanged and the dialog stays open.
    [[nodiscard]] WindowCheck ok();

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
};

}  // namespace pelvaron::processing
