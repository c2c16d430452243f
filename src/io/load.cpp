// Dialog-free loading for the command line and the program's own command line.
#include "io/load.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/format.h"
#include "io/aspect.h"
#include "io/companion.h"
#include "io/file_dialogs.h"
#include "io/import.h"
#include "io/jcamp_import.h"
#include "io/jcamp_reader.h"
#include "io/jeol.h"
#include "io/native_file.h"
#include "io/nicolet.h"
#include "io/nuts.h"
#include "io/varian.h"
#include "io/winnmr.h"

namespace pelvaron::io {

namespace {

namespace fs = std::filesystem;

struct NamedFormat {
    FileFormat format;
    std::string_view name;
};
constexpr std::array<NamedFormat, 10> kFormatNames{{
    {FileFormat::Native, "native"},
    {FileFormat::Bruker, "bruker"},
    {FileFormat::Aspect, "aspect"},
    {FileFormat::WinNmr, "winnmr"},
    {FileFormat::Varian, "varian"},
    {FileFormat::Gemini, "gemini"},
    {FileFormat::Nicolet, "nicolet"},
    {FileFormat::Nuts, "nuts"},
    {FileFormat::Jcamp, "jcamp"},
    {FileFormat::Jeol, "jeol"},
}};

}  // namespace

std::string_view formatName(FileFormat format) {
    for (const auto& f : kFormatNames)
        if (f.format == format) return f.name;
    return "unknown";
}

std::optional<FileFormat> formatFromName(std::string_view name) {
    for (const auto& f : kFormatNames)
        if (f.name == name) return f.format;
    return std::nullopt;
}

std::string resolveBrukerPath(const std::string& path) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) return path;
    if (auto fid = findCompanion(path, "fid")) return *fid;
    if (auto ser = findCompanion(path, "ser")) return *ser;
    if (auto r = findCompanion(path, "pdata/1/1r")) return *r;
    if (auto r = findCompanion(path, "1r")) return *r;
    return path;
}

std::optional<FileFormat> detectFormat(const std::string& path) {
    std::error_code ec;
    const std::string dataPath = resolveBrukerPath(path);
    if (fs::is_directory(dataPath, ec)) return std::nullopt;
    // The head is read once: enough for the JCAMP-DX labels and the data signatures.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(dataPath.c_str(), "rb"), &std::fclose);
    if (!file) return std::nullopt;
    std::string bytes(64 * 1024, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    file.reset();
    const std::string_view head(bytes);
    if (head.starts_with("PLV")) return FileFormat::Native;
    if (looksLikeJcampText(head)) return FileFormat::Jcamp;
    if (looksLikeJeol(head)) return FileFormat::Jeol;

    // The formats with a parameter file beside the data, then those that sign their first bytes.
    const std::string title = lowerAscii(fileTitleOf(dataPath));
    const std::string dir = fs::path(dataPath).parent_path().string();
    if ((title == "1r" || title == "1i") && findCompanion(dir, "procs")) return FileFormat::Bruker;
    if (findCompanion(dir, "acqus")) return FileFormat::Bruker;
    if (findVarianProcpar(dataPath)) return FileFormat::Varian;
    if (findGeminiAcqpar(dataPath)) return FileFormat::Gemini;
    const WinNmrCompanions winNmr = findWinNmrCompanions(dataPath);
    if (winNmr.dis || winNmr.aqs) return FileFormat::WinNmr;
    if (looksLikeNuts(head)) return FileFormat::Nuts;
    if (looksLikeAspect(head)) return FileFormat::Aspect;
    if (looksLikeNicolet(head)) return FileFormat::Nicolet;
    return std::nullopt;
}

bool loadFile(Document& doc, platform::UserInterface& ui, const std::string& path,
              std::optional<FileFormat> format) {
    if (!format) format = detectFormat(path);
    if (!format) {
        ui.message("Cannot Open or\n Don't know what to do with it!!", fileTitleOf(path),
                   platform::Icon::Exclamation);
        return false;
    }
    switch (*format) {
        case FileFormat::Native: return openNativePath(doc, ui, path) == NativeOpen::Loaded;
        case FileFormat::Bruker:
            selectImportFormat(doc, FileFormat::Bruker);
            return importPath(doc, ui, resolveBrukerPath(path));
        case FileFormat::Jcamp:
        case FileFormat::Aspect:
        case FileFormat::WinNmr:
        case FileFormat::Gemini:
        case FileFormat::Nicolet:
        case FileFormat::Nuts:
        case FileFormat::Jeol: selectImportFormat(doc, *format); break;
        case FileFormat::Varian:
            // A Varian experiment is a folder holding its fid, as a Bruker one is.
            selectImportFormat(doc, FileFormat::Varian);
            return importPath(doc, ui, resolveBrukerPath(path));
    }
    return importPath(doc, ui, path);
}

}  // namespace pelvaron::io
