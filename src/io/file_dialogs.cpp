// File dialog wrappers over the UserInterface.
#include "io/file_dialogs.h"

#include <filesystem>

namespace pelvaron::io {

std::string fileTitleOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

void setFilePath(Document& doc, const std::string& path) {
    doc.filePath = path;
    doc.fileTitle = fileTitleOf(path);
}

bool askOpenFile(Document& doc, platform::UserInterface& ui) {
    platform::FileRequest request;
    request.save = false;
    request.defaultExtension = "*";
    auto chosen = ui.chooseFile(request);
    if (!chosen) return false;
    setFilePath(doc, *chosen);
    return true;
}

bool askSaveFile(Document& doc, platform::UserInterface& ui) {
    platform::FileRequest request;
    request.save = true;
    request.defaultExtension = doc.import.saveTextExt ? "txt" : "PLV";
    auto chosen = ui.chooseFile(request);
    if (!chosen) return false;
    setFilePath(doc, *chosen);
    return true;
}

}  // namespace pelvaron::io
