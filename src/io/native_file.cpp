// Reading and writing the native file.
#include "io/native_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "document/byte_order.h"
#include "document/format.h"
#include "io/file_dialogs.h"

namespace pelvaron::io {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr openFile(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode), &std::fclose);
}

}  // namespace

bool writeNativeFile(const Document& doc, const std::string& path) {
    const int count = std::clamp(doc.nData, 0, kCapacity);
    const std::size_t dataBytes = static_cast<std::size_t>(count) * 8;
    const std::size_t size = std::max<std::size_t>(kNativeMinimumSize, kNativeDataOffset + dataBytes);
    std::vector<std::uint8_t> image(size, '0');
    std::memcpy(image.data(), "PLV", 3);
    encodeAcqParams(doc.acqPars, image.data() + kNativeBlockOffset);
    for (int i = 0; i < count; ++i) {
        bytes::storeLEDouble(image.data() + kNativeDataOffset + 8 * static_cast<std::size_t>(i), doc.specData[i]);
    }

    const std::string partial = path + ".part";
    {
        FilePtr file = openFile(partial, "wb");
        if (!file) return false;
        const bool written = std::fwrite(image.data(), 1, size, file.get()) == size;
        const bool closed = std::fclose(file.release()) == 0;
        if (!written || !closed) {
            std::remove(partial.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

bool saveNativeFile(Document& doc, platform::UserInterface& ui) {
    doc.import.saveTextExt = 0;
    if (!askSaveFile(doc, ui)) return false;
    if (!writeNativeFile(doc, doc.filePath)) {
        ui.message("Cannot Save File", "File Error", platform::Icon::Stop);
        return false;
    }
    return true;
}

NativeOpen openNativeFile(Document& doc, platform::UserInterface& ui) {
    if (doc.import.openDropped == 0) {
        if (!askOpenFile(doc, ui)) return NativeOpen::Cancelled;
    } else {
        doc.import.openDropped = 0;
    }

    FilePtr file = openFile(doc.filePath, "rb");
    std::error_code ec;
    if (!file || std::filesystem::is_directory(doc.filePath, ec)) {
        ui.message("Cannot open the file", "Error ", platform::Icon::None);
        return NativeOpen::Cancelled;
    }
    std::uint8_t header[kNativeDataOffset] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, file.get());
    if (got < 3 || std::memcmp(header, "PLV", 3) != 0) {
        file.reset();
        if (ui.message("This is not a Pelvaron File\n Please indicate the file type", "Warning",
                       platform::Icon::None, platform::Buttons::OkCancel) == platform::Answer::Cancel) {
            return NativeOpen::Cancelled;
        }
        doc.import.importAskFile = 0;
        doc.noSaveQuery = 1;
        ui.requestRepaint();
        return NativeOpen::HandToImport;
    }

    // A short header reads as zeros, like the data that are missing.
    AcqParams params = decodeAcqParams(header + kNativeBlockOffset);
    if (params.TD < 0 || params.TD > kCapacity) {
        // Refused before anything is touched: the data size cannot be held, or makes no sense.
        ui.message(cformat("The file declares %d data values; Pelvaron holds 0 to %d.\n"
                           " It cannot be opened",
                           params.TD, kCapacity),
                   "Error ", platform::Icon::Exclamation);
        return NativeOpen::Cancelled;
    }

    doc.clearSpecData();
    doc.acqPars = params;
    doc.nData = params.TD;
    if (got == sizeof header) {
        std::vector<std::uint8_t> raw(static_cast<std::size_t>(doc.nData) * 8);
        const std::size_t values = std::fread(raw.data(), 8, static_cast<std::size_t>(doc.nData), file.get());
        for (std::size_t i = 0; i < values; ++i) doc.specData[static_cast<std::ptrdiff_t>(i)] = bytes::loadLEDouble(raw.data() + 8 * i);
    }
    file.reset();

    doc.fileTitle = fileTitleOf(doc.filePath);
    // The file holds its own reference and nothing of a spectrometer's processing or filter delay
    // beyond DECIM and DSPFVS.
    doc.referenceSource = ReferenceSource::NativeFile;
    doc.recorded = RecordedProcessing{};
    doc.groupDelay = 0.0;
    setupDocument(doc, ui);
    doc.negateImag = 1;
    doc.fileNegateImag = 1;
    ui.requestRepaint();
    return NativeOpen::Loaded;
}

bool saveQuestion(Document& doc, platform::UserInterface& ui) {
    if (doc.noSaveQuery) return true;
    const auto answer = ui.message("Do you want to save the current spectrum?", "Warning",
                                   platform::Icon::Question, platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::Cancel) return false;
    if (answer == platform::Answer::Yes) saveNativeFile(doc, ui);
    return true;
}

}  // namespace pelvaron::io
