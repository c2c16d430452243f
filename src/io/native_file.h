// The program's own file: magic "PLV", the 72-byte parameter block at offset 256 and the data
// from offset 1024.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/document.h"
#include "platform/user_interface.h"

namespace pelvaron::io {

inline constexpr int kNativeBlockOffset = 256;
inline constexpr int kNativeDataOffset = 1024;
inline constexpr int kNativeMinimumSize = 2048;

/// What the data are, recorded in reserved bytes of the parameter block, which a reader that does
/// not know the record carries as they stand: byte 4 the mark kNativeRecordMark, byte 5 the domain
/// (0 a FID, 1 a spectrum), byte 6 the ReferenceSource, byte 7 1 when the imaginary parts are
/// conjugated on the way to a spectrum (negateImag); bytes 56..63 the digital filter's group delay
/// in points, a little-endian double. A file without the mark (every file written before the
/// record) opens as it always did: a FID referenced by the file, conjugated, with no recorded
/// delay.
inline constexpr std::uint8_t kNativeRecordMark = 0xD1;

/// The bytes of the native file of `doc`: magic, parameter block (with the record of what the
/// data are) and nData doubles, padded with '0' characters to at least kNativeMinimumSize.
[[nodiscard]] std::string nativeFileBytes(const Document& doc);

/// Writes nativeFileBytes to `path`. The file is written beside the target
/// and renamed over it, so a failed write never destroys the file it was to replace.
[[nodiscard]] bool writeNativeFile(const Document& doc, const std::string& path);

/// Save: the save dialog, then the file; "Cannot Save File" when it cannot be written.
bool saveNativeFile(Document& doc, platform::UserInterface& ui);

enum class NativeOpen {
    Cancelled,     ///< dialog cancelled, or the file could not be read: nothing changed
    Loaded,        ///< a native file was loaded and the document set up
    HandToImport,  ///< not a native file and the person agreed to pick its type: run Import
};

/// Open: the open dialog, then openNativePath with the chosen file.
NativeOpen openNativeFile(Document& doc, platform::UserInterface& ui);

/// Opens the file `path` (a dropped or named file, or the one chosen): it becomes filePath and
/// fileTitle, and a file that is not native is offered to Import.
NativeOpen openNativePath(Document& doc, platform::UserInterface& ui, const std::string& path);

/// Whether the bytes start with the native file's magic.
[[nodiscard]] bool isNativeData(std::string_view bytes);

/// Loads the bytes of a native file as Open does once it has read them: the parameter block
/// (a block or data cut short read as zeros), nData values, the set-up. False, with nothing
/// changed, when the magic is missing (silently: the caller decides what to ask) or when the
/// declared size cannot be held (the reason in `said`).
[[nodiscard]] bool readNativeData(Document& doc, Messages& said, std::string_view bytes);

/// The save question asked before Open, Import and Exit; false when the person cancelled.
[[nodiscard]] bool saveQuestion(Document& doc, platform::UserInterface& ui);

}  // namespace pelvaron::io
