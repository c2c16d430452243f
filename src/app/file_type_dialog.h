// The "File type" dialog of Import: one radio button per instrument format, remembered between
// uses as the format Import hands a file to.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "document/document.h"
#include "io/import.h"

namespace pelvaron::app {

struct FileTypeChoice {
    FileFormat format;
    std::string_view caption;
};

/// The buttons in dialog order, with their captions.
[[nodiscard]] const std::array<FileTypeChoice, 9>& fileTypeChoices();

class FileTypeDialogModel {
public:
    /// Opening checks the button of the format Import uses now.
    explicit FileTypeDialogModel(const Document& doc);

    [[nodiscard]] bool isChecked(FileFormat format) const { return checked_ == format; }
    void check(FileFormat format) { checked_ = format; }
    /// Checks the format a file's own bytes name, when the dialog offers it; otherwise nothing.
    void checkDetected(std::optional<FileFormat> detected);
    /// OK: the checked format becomes the one Import uses.
    void ok(Document& doc) const;

private:
    FileFormat checked_;
};

}  // namespace pelvaron::app
