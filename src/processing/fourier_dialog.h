// The "Fast Fourier Transform" dialog without its widgets: the five check boxes, the rotate
// count, the size list and its double-click, OK and Cancel.
#pragma once

#include <array>
#include <string>

#include "document/document.h"
#include "processing/transform.h"

namespace pelvaron::processing {

class FourierDialog {
public:
    /// The entries of the size list (doubles), top to bottom: 128 up to the whole buffer.
    static constexpr std::array<const char*, 14> kSizeList = {
        "128",  "256",   "512",   "1024",  "2048",   "4096",   "8192",
        "16384", "32768", "65536", "131072", "262144", "524288", "1048576"};
    static_assert(1 << (kSizeList.size() + 6) == kMaxTransformSize);

    explicit FourierDialog(Document& doc) : doc_(doc) {}

    /// Shows the stored options, proposes the group-delay rotation for forward transforms, and
    /// rounds nData (and TD) up to a transform size, remembering the former nData for Cancel.
    void open();

    /// Double-click on list entry `index` (0-based): nData becomes 2^(index+7) at once; TD stays.
    /// Doubles beyond the former nData are taken as they stand in the buffer. Indices outside
    /// the list are ignored.
    void chooseSize(int index);

    /// Runs the transform with the controls' values and closes. False when the data size is not
    /// a transform size (only possible without open()).
    [[nodiscard]] bool ok();

    /// Restores nData and TD as they were before opening; the data are untouched.
    void cancel();

    /// The check boxes and the rotate-count box, as the person leaves them.
    int real = 0;
    int driftCorr = 1;
    int quadrature = 1;
    int inverse = 0;
    int rotate = 0;
    std::string rotateCountText;

    /// Text of the "Points" box: the present size in doubles.
    [[nodiscard]] std::string pointsText() const;

    /// The whole buffer was chosen as the size at some time (the window's scroll range then
    /// widens to it, unless Cancel returns to the opening's size).
    [[nodiscard]] bool largestSizeChosen() const { return largestSizeChosen_; }

private:
    Document& doc_;
    bool largestSizeChosen_ = false;
};

}  // namespace pelvaron::processing
