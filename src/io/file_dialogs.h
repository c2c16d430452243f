// The open and save dialogs every load, save and export goes through; they fill the document's
// filePath and fileTitle.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// The open dialog; true when a file was chosen (then filePath and fileTitle hold it).
[[nodiscard]] bool askOpenFile(Document& doc, platform::UserInterface& ui);

/// The save dialog, proposing "txt" while saveTextExt is 1 and "PLV" otherwise.
[[nodiscard]] bool askSaveFile(Document& doc, platform::UserInterface& ui);

/// The file's name without its directory.
[[nodiscard]] std::string fileTitleOf(const std::string& path);

/// Puts a path into filePath and its name into fileTitle, as a chosen or dropped file does.
void setFilePath(Document& doc, const std::string& path);

}  // namespace pelvaron::io
