// What the fuzz targets share: a user interface that answers every question with its first
// button and shows nothing, the one document of the process, and the split of one input into
// the files of an experiment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "platform/null_ui.h"

namespace pelvaron::fuzz {

using platform::NullUserInterface;

/// The process's one document: its buffers are 48 MB, too much to allocate per input.
[[nodiscard]] Document& fuzzDocument();

/// Puts back, before each input, what a reader reads or may change: the data, the acquisition
/// parameters, the reference and the recorded processing, the JCAMP-DX labels and the import's
/// state, as a new document has them, with no data in use. So each input reads alike whatever
/// ran before it.
void resetReaderState(Document& doc);

/// The input as a byte string.
[[nodiscard]] inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

/// Splits an input into `count` parts, each a 4-byte little-endian length and that many bytes.
/// The length 0xFFFFFFFF marks an absent part; a length past the end takes the rest of the
/// input; parts after the end of the input are absent.
[[nodiscard]] std::vector<std::optional<std::string_view>> splitParts(std::string_view input,
                                                                      std::size_t count);

/// The opposite of splitParts, for making seeds.
[[nodiscard]] std::string joinParts(const std::vector<std::optional<std::string>>& parts);

/// One input as a whole data file of a one-file format: the signature test that detection makes
/// on its first `head` bytes, then the reader, which must leave a data set the document can hold
/// whenever it says it read the file.
template <typename Looks, typename Read>
int fuzzWholeFile(const std::uint8_t* data, std::size_t size, Looks looks, Read read,
                  std::size_t head = std::string_view::npos) {
    Messages said;
    Document& doc = fuzzDocument();
    resetReaderState(doc);
    const std::string_view bytes = asText(data, size);
    (void)looks(bytes.substr(0, head));
    if (read(doc, said, bytes) && (doc.spectrum.nData <= 0 || doc.spectrum.nData > kCapacity)) std::abort();
    return 0;
}

}  // namespace pelvaron::fuzz
