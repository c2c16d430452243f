// Case-insensitive lookup of companion files and whole-file reading.
#include "io/companion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

namespace pelvaron::io {

namespace fs = std::filesystem;

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<fs::path> findEntry(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    fs::path exact = dir / std::string(name);
    if (fs::exists(exact, ec)) return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (equalNoCase(it->path().filename().string(), name)) return it->path();
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> findCompanion(const std::string& directory, std::string_view relative) {
    fs::path current = directory.empty() ? fs::path(".") : fs::path(directory);
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t slash = relative.find('/', start);
        std::string_view part = relative.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (!part.empty()) {
            auto next = findEntry(current, part);
            if (!next) return std::nullopt;
            current = *next;
        }
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    std::error_code ec;
    if (!fs::is_regular_file(current, ec)) return std::nullopt;
    return current.string();
}

std::optional<std::string> readWholeFile(const std::string& path) {
    return readFileStart(path, std::numeric_limits<std::size_t>::max());
}

std::optional<std::string> readFileStart(const std::string& path, std::size_t most) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::nullopt;
    std::string content;
    char buffer[65536];
    std::size_t got;
    while (content.size() < most &&
           (got = std::fread(buffer, 1, std::min(sizeof buffer, most - content.size()), file.get())) > 0)
        content.append(buffer, got);
    if (std::ferror(file.get())) return std::nullopt;
    return content;
}

}  // namespace pelvaron::io
