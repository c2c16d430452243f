// The JCAMP-DX import of one file's text: the reader (labels, XYDATA, NTUPLES pages, ASDF), the
// completion into the document, the set-up and the title comment.
#include <cstdint>

#include "io/jcamp_import.h"
#include "io/jcamp_reader.h"
#include "support/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelvaron;
    static fuzz::NullUserInterface ui;
    Document& doc = fuzz::fuzzDocument();
    fuzz::resetReaderState(doc);
    const std::string_view text = fuzz::asText(data, size);
    (void)io::looksLikeJcampText(text);
    (void)io::importJcampText(doc, ui, text);
    return 0;
}
