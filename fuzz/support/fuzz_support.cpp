// The fuzz targets' document and the split of one input into an experiment's files.
#include "support/fuzz_support.h"

#include <cstring>
#include <memory>

namespace pelvaron::fuzz {

namespace {
constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;
}

Document& fuzzDocument() {
    static const std::unique_ptr<Document> doc = std::make_unique<Document>();
    return *doc;
}

void resetReaderState(Document& doc) {
    // clearSpecData's loop, counted for coverage at each value, costs a millisecond per 10^6
    // values: one memset does the same.
    std::memset(doc.spectrum.specData.data(), 0,
                sizeof(double) * static_cast<std::size_t>(doc.spectrum.specInUse()));
    doc.spectrum.specExtent = 0;
    doc.spectrum.acqPars = AcqParams{};
    // No data in use, rather than a new document's whole buffer: else each reader's own clearing
    // would go over all 10^6 values of every input.
    doc.spectrum.nData = 0;
    doc.spectrum.refIndex = 0;
    doc.spectrum.groupDelay = 0.0;
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    doc.spectrum.referenceSource = ReferenceSource::None;
    doc.spectrum.recorded = RecordedProcessing{};
    doc.jcamp = JcampState{};
    doc.import = ImportState{};
    doc.comments.clear();
    doc.filePath = "fuzz-input";
    doc.fileTitle = "fuzz-input";
}

std::vector<std::optional<std::string_view>> splitParts(std::string_view input, std::size_t count) {
    std::vector<std::optional<std::string_view>> parts(count);
    for (auto& part : parts) {
        if (input.size() < 4) break;
        const auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(input[i]));
        };
        const std::uint32_t length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        input.remove_prefix(4);
        if (length == kAbsent) continue;
        const std::size_t n = std::min<std::size_t>(length, input.size());
        part = input.substr(0, n);
        input.remove_prefix(n);
    }
    return parts;
}

std::string joinParts(const std::vector<std::optional<std::string>>& parts) {
    std::string out;
    for (const auto& part : parts) {
        const std::uint32_t length = part ? static_cast<std::uint32_t>(part->size()) : kAbsent;
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>((length >> shift) & 0xFF));
        if (part) out += *part;
    }
    return out;
}

}  // namespace pelvaron::fuzz
