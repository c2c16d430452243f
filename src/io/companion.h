// Finding the companion files of an experiment ("acqus", "pdata/1/proc", "procs", ...) without
// regard to letter case, as the instruments' own file systems ignore it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelvaron::io {

/// The path of `relative` ("/"-separated) below `directory`, each component matched first exactly
/// and then without regard to case; nothing when a component is missing.
[[nodiscard]] std::optional<std::string> findCompanion(const std::string& directory,
                                                       std::string_view relative);

/// The whole content of a file, or nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> readWholeFile(const std::string& path);
/// The first `most` bytes of the file (all of a shorter one); nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> readFileStart(const std::string& path, std::size_t most);

}  // namespace pelvaron::io
