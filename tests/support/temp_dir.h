// A fresh directory under the system's temporary folder, removed with its contents at the end of
// the test.
#pragma once

#include <filesystem>
#include <string>

namespace pelvaron::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    /// The path of `name` inside the directory, as a string.
    [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

/// The path of `relative` in the source tree (tests/data/..., examples/...), found through
/// PELVARON_SOURCE_DIR, which ctest sets.
[[nodiscard]] std::string sourcePath(const std::string& relative);

/// Writes bytes or text to a file, creating its directory.
void writeFile(const std::string& path, const std::string& content);
/// The whole file as bytes.
[[nodiscard]] std::string readFile(const std::string& path);

}  // namespace pelvaron::testing
