// Reading and writing the native file.
#include "io/native_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "base/byte_order.h"
#include "base/format.h"
#include "io/companion.h"
#include "io/file_dialogs.h"

namespace pelvaron::io {

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr openFile(const std::string& path, const char* mode) {
    return FilePtr(std::fopen(path.c_str(), mode), &std::fclose);
}

}  // namespace

std::string nativeFileBytes(const Document& doc) {
    const int count = std::clamp(doc.spectrum.nData, 0, kCapacity);
    const std::size_t dataBytes = static_cast<std::size_t>(count) * 8;
    const std::size_t size = std::max<std::size_t>(kNativeMinimumSize, kNativeDataOffset + dataBytes);
    std::string image(size, '0');
    auto* out = reinterpret_cast<std::uint8_t*>(image.data());
    std::memcpy(out, "PLV", 3);
    AcqParams block = doc.spectrum.acqPars;
    // A forward transform, or a spectrum read as one, leaves ftInverse set.
    block.reserved4 = {kNativeRecordMark, static_cast<std::uint8_t>(doc.spectrum.ftInverse ? 1 : 0),
                       static_cast<std::uint8_t>(doc.spectrum.referenceSource),
                       static_cast<std::uint8_t>(doc.spectrum.negateImag ? 1 : 0)};
    bytes::storeLEDouble(block.reserved56.data(), doc.spectrum.groupDelay);
    encodeAcqParams(block, out + kNativeBlockOffset);
    for (int i = 0; i < count; ++i)
        bytes::storeLEDouble(out + kNativeDataOffset + 8 * static_cast<std::size_t>(i),
                             doc.spectrum.specData[i]);
    return image;
}

bool writeNativeFile(const Document& doc, const std::string& path) {
    const std::string image = nativeFileBytes(doc);
    const std::size_t size = image.size();

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

bool isNativeData(std::string_view bytes) { return bytes.substr(0, 3) == "PLV"; }

bool readNativeData(Document& doc, Messages& said, std::string_view bytes) {
    if (!isNativeData(bytes)) return false;
    // A short header reads as zeros, like the data that are missing.
    std::uint8_t header[kNativeDataOffset] = {};
    const std::size_t headerBytes = std::min<std::size_t>(bytes.size(), kNativeDataOffset);
    std::memcpy(header, bytes.data(), headerBytes);
    AcqParams params = decodeAcqParams(header + kNativeBlockOffset);
    if (params.TD < 0 || params.TD > kCapacity) {
        // Refused before anything is touched: the data size cannot be held, or makes no sense.
        said.push_back({cformat("The file declares %d data values; Pelvaron holds 0 to %d.\n"
                                " It cannot be opened",
                                params.TD, kCapacity),
                        "Error ", MessageIcon::Exclamation});
        return false;
    }

    // The record of what the data are, when the file has one; the bytes are then the record's, not
    // reserved ones to carry.
    const bool recorded = params.reserved4[0] == kNativeRecordMark;
    const bool spectrum = recorded && params.reserved4[1] == 1;
    const int source = params.reserved4[2];
    const int negateImag = recorded ? (params.reserved4[3] == 1 ? 1 : 0) : 1;
    double groupDelay = recorded ? bytes::loadLEDouble(params.reserved56.data()) : 0.0;
    if (!(groupDelay >= 0.0 && groupDelay < kCapacity)) groupDelay = 0.0;  // NaN too
    if (recorded) {
        params.reserved4 = {};
        params.reserved56 = {};
    }

    doc.spectrum.clearSpecData();
    doc.spectrum.acqPars = params;
    doc.spectrum.nData = params.TD;
    if (headerBytes == kNativeDataOffset) {
        const std::string_view data = bytes.substr(kNativeDataOffset);
        const std::size_t values =
            std::min<std::size_t>(static_cast<std::size_t>(doc.spectrum.nData), data.size() / 8);
        const auto* raw = reinterpret_cast<const std::uint8_t*>(data.data());
        for (std::size_t i = 0; i < values; ++i)
            doc.spectrum.specData[static_cast<std::ptrdiff_t>(i)] = bytes::loadLEDouble(raw + 8 * i);
    }

    // The file holds its own reference (from where its record says) and nothing of a
    // spectrometer's processing; the filter's delay beyond DECIM and DSPFVS is in the record.
    doc.spectrum.referenceSource = recorded && source <= static_cast<int>(ReferenceSource::Manual)
                                       ? static_cast<ReferenceSource>(source)
                                       : ReferenceSource::NativeFile;
    doc.spectrum.recorded = RecordedProcessing{};
    // The file has no field for the solvent or the nucleus.
    doc.spectrum.solvent.clear();
    doc.spectrum.nucleus.clear();
    doc.spectrum.groupDelay = groupDelay;
    setupDocument(doc);
    doc.spectrum.negateImag = negateImag;
    doc.spectrum.fileNegateImag = negateImag;
    // A spectrum reopens as one: on its ppm axis, the inverse transform proposed next.
    if (spectrum) markAsSpectrum(doc);
    return true;
}

NativeOpen openNativeFile(Document& doc, platform::UserInterface& ui) {
    if (!askOpenFile(doc, ui)) return NativeOpen::Cancelled;
    return openNativePath(doc, ui, doc.filePath);
}

NativeOpen openNativePath(Document& doc, platform::UserInterface& ui, const std::string& path) {
    setFilePath(doc, path);
    // Nothing past the most data the document holds is read.
    const std::optional<std::string> read =
        readFileStart(doc.filePath, kNativeDataOffset + static_cast<std::size_t>(kCapacity) * 8);
    if (!read) {
        ui.message("Cannot open the file", "Error ", platform::Icon::None);
        return NativeOpen::Cancelled;
    }
    const std::string& bytes = *read;

    if (!isNativeData(bytes)) {
        if (ui.message("This is not a Pelvaron File\n Please indicate the file type", "Warning",
                       platform::Icon::None, platform::Buttons::OkCancel) == platform::Answer::Cancel) {
            return NativeOpen::Cancelled;
        }
        doc.import.importAskFile = 0;
        doc.noSaveQuery = 1;
        // Nothing is drawn differently, but the window is drawn again after the question, as
        // after every open.
        doc.notify(kViewChanged);
        return NativeOpen::HandToImport;
    }
    Messages said;
    const bool loaded = readNativeData(doc, said, bytes);
    platform::reportAll(ui, said);
    if (!loaded) return NativeOpen::Cancelled;
    doc.notify(kAllDrawn);
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
