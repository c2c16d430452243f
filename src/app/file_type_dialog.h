// The "File type" dialog of Import: one radio button per instrument format, remembered between
// uses in the document's format flags.
#pragma once

#include <array>
#include <string_view>

#include "document/document.h"
#include "io/import.h"

namespace pelvaron::app {

struct FileTypeChoice {
    io::ImportFormat format;
    std::string_view caption;
};

/// The buttons in dialog order, with their captions.
[[nodiscard]] const std::array<FileTypeChoice, 8>& fileTypeChoices();

class FileTypeDialogModel {
public:
    /// Opening checks the button of the flag that is set (none when no flag is set).
    explicit FileTypeDialogModel(const Document& doc);

    [[nodiscard]] bool isChecked(io::ImportFormat format) const;
    void check(io::ImportFormat format);
    /// OK: every button's state goes back into its flag.
    void ok(Document& doc) const;

private:
    std::array<bool, 8> checked_{};
};

}  // namespace pelvaron::app
