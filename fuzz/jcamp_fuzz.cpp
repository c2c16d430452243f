// The JCAMP-DX import of one file's text: the reader (labels, XYDATA, NTUPLES pages, ASDF), the
// completion into the document, the set-up and the title comment; and the same text decoded as
// one ASDF table from its first line.
#include <array>
#include <cstdint>

#include "io/jcamp_asdf.h"
#include "io/jcamp_import.h"
#include "io/jcamp_reader.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    static fuzz::NullUserInterface ui;
    static std::array<double, 4096> table;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view text = fuzz::asText(data, size);
    (void)io::looksLikeJcampText(text);
    (void)io::decodeJcampTable(text, 0, {table.data(), 1, static_cast<int>(table.size())});
    (void)io::importJcampText(doc, ui, text);
    return 0;
}
