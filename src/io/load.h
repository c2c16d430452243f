// Loading a named file without dialogs: what the command line and "pelvaron FILE" use. The
// format is given or detected from the file's content and companion files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "document/file_format.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

/// The format's command-line name ("native", "bruker", ...).
[[nodiscard]] std::string_view formatName(FileFormat format);
/// The format of a command-line name; nothing for an unknown name.
[[nodiscard]] std::optional<FileFormat> formatFromName(std::string_view name);

/// The data file a Bruker experiment is named by: a fid/ser/1r/1i file as it is; a directory
/// by its fid, or else its first processed spectrum (pdata/1/1r).
[[nodiscard]] std::string resolveBrukerPath(const std::string& path);

/// Guesses the format from the file's first bytes and its companion files.
[[nodiscard]] std::optional<FileFormat> detectFormat(const std::string& path);

/// Loads `path` as `format` (detected when absent) through the same readers as Open and Import,
/// with no dialog. False, after the program's message, when nothing was loaded.
[[nodiscard]] bool loadFile(Document& doc, platform::UserInterface& ui, const std::string& path,
                            std::optional<FileFormat> format);

}  // namespace pelvaron::io
