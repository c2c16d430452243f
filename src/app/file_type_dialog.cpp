// The "File type" dialog model.
#include "app/file_type_dialog.h"

namespace pelvaron::app {

namespace {

using io::ImportFormat;

constexpr std::array<FileTypeChoice, 8> kChoices = {{
    {ImportFormat::BrukerXwin, "&Bruker UXNMR/XWIN-NMR"},
    {ImportFormat::Aspect, "Bruker &Aspect 2000/3000"},
    {ImportFormat::WinNmr, "Bruker &WIN-NMR"},
    {ImportFormat::VarianUnity, "&Varian VXR/Unity "},
    {ImportFormat::VarianGemini, "Varian &Gemini/VXR from VHELPER"},
    {ImportFormat::Nicolet, "GE/&NICOLET (NT, QE, GN)"},
    {ImportFormat::Nuts, "N&uts"},
    {ImportFormat::Jcamp, "&JCAMP-DX"},
}};

// The flag of each button, in dialog order.
constexpr std::array<int ImportState::*, 8> kFlags = {
    &ImportState::fmtBrukerXwin,  &ImportState::fmtAspect,       &ImportState::fmtWinNmr,
    &ImportState::fmtVarianUnity, &ImportState::fmtVarianGemini, &ImportState::fmtNicolet,
    &ImportState::fmtNuts,        &ImportState::fmtJcamp,
};

std::size_t slotOf(ImportFormat f) {
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        if (kChoices[i].format == f) return i;
    }
    return 0;
}

}  // namespace

const std::array<FileTypeChoice, 8>& fileTypeChoices() { return kChoices; }

FileTypeDialogModel::FileTypeDialogModel(const Document& doc) {
    // The buttons form one group: the first set flag in dialog order is the checked one.
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        if (doc.import.*kFlags[i] != 0) {
            checked_[i] = true;
            break;
        }
    }
}

bool FileTypeDialogModel::isChecked(ImportFormat format) const { return checked_[slotOf(format)]; }

void FileTypeDialogModel::check(ImportFormat format) {
    checked_.fill(false);
    checked_[slotOf(format)] = true;
}

void FileTypeDialogModel::ok(Document& doc) const {
    for (std::size_t i = 0; i < kFlags.size(); ++i) doc.import.*kFlags[i] = checked_[i] ? 1 : 0;
}

}  // namespace pelvaron::app
