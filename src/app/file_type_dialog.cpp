// The "File type" dialog model.
#include "app/file_type_dialog.h"

namespace pelvaron::app {

namespace {

constexpr std::array<FileTypeChoice, 9> kChoices = {{
    {FileFormat::Bruker, "&Bruker UXNMR/XWIN-NMR"},
    {FileFormat::Aspect, "Bruker &Aspect 2000/3000"},
    {FileFormat::WinNmr, "Bruker &WIN-NMR"},
    {FileFormat::Varian, "&Varian VXR/Unity "},
    {FileFormat::Gemini, "Varian &Gemini/VXR from VHELPER"},
    {FileFormat::Nicolet, "GE/&NICOLET (NT, QE, GN)"},
    {FileFormat::Nuts, "N&uts"},
    {FileFormat::Jcamp, "&JCAMP-DX"},
    {FileFormat::Jeol, "J&EOL Delta"},
}};

}  // namespace

const std::array<FileTypeChoice, 9>& fileTypeChoices() { return kChoices; }

FileTypeDialogModel::FileTypeDialogModel(const Document& doc) : checked_(doc.import.importFormat) {}

void FileTypeDialogModel::checkDetected(std::optional<FileFormat> detected) {
    for (const FileTypeChoice& c : kChoices)
        if (detected == c.format) checked_ = c.format;
}

void FileTypeDialogModel::ok(Document& doc) const { doc.import.importFormat = checked_; }

}  // namespace pelvaron::app
