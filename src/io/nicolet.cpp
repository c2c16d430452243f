// GE/Nicolet FIDs, parsed from memory.
#include "io/nicolet.h"
#include "io/capacity.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

namespace pelvaron::io {

namespace {

constexpr std::size_t kDataAt = 1280;

/// Word numbers of the three floats in each header variant.
struct NicoletHeader {
    int firstWord;
    int swWord, aqWord, sfWord;
};
constexpr NicoletHeader kHeaders[] = {
    {0x2C72, 324, 326, 330},
    {0x3212, 323, 325, 329},
    {0xE243, 390, 146, 394},
};

std::optional<NicoletHeader> headerOf(std::string_view bytes) {
    if (bytes.size() < 3) return std::nullopt;
    const int first = readNicoletWord(bytes, 0);
    for (const NicoletHeader& h : kHeaders)
        if (h.firstWord == first) return h;
    return std::nullopt;
}

/// Word `w` of `raw`, whose bytes the caller knows to be there.
int wordAt(const std::uint8_t* raw, std::size_t w) {
    const std::uint8_t* p = raw + 5 * (w / 2);
    const int v =
        (w % 2 == 0) ? (p[0] << 12) | (p[1] << 4) | (p[2] >> 4) : ((p[2] & 0x0F) << 16) | (p[3] << 8) | p[4];
    return (v & 0x80000) ? v - 0x100000 : v;
}

/// Bytes needed to hold words 0 to `words` - 1.
std::size_t bytesForWords(std::size_t words) {
    if (words == 0) return 0;
    const std::size_t last = words - 1;
    return 5 * (last / 2) + (last % 2 == 0 ? 3 : 5);
}

}  // namespace

int readNicoletWord(std::string_view bytes, int word) {
    if (word < 0 || bytes.size() < bytesForWords(static_cast<std::size_t>(word) + 1)) return 0;
    return wordAt(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<std::size_t>(word));
}

double readNicoletFloat(std::string_view bytes, int word) {
    const int w0 = readNicoletWord(bytes, word);
    const int w1 = word < INT_MAX ? readNicoletWord(bytes, word + 1) : 0;
    long long m = static_cast<long long>(w0) * 1024 + w1 % 256;  // the remainder keeps w1's sign
    constexpr long long kTwo30 = 1LL << 30;
    if (m > kTwo30) m = kTwo30 - m;
    int e = w1 / 1024;
    if (e > 1024) e = 1024 - e;
    if (m == 0) return 0.0;
    return std::ldexp(static_cast<double>(m), e - 29);
}

void unpackNicoletWords(std::string_view packed, std::span<int> out) {
    const auto* raw = reinterpret_cast<const std::uint8_t*>(packed.data());
    // Two words to every whole five bytes, and an even word in three more.
    const std::size_t held = std::min(out.size(), packed.size() / 5 * 2 + (packed.size() % 5 >= 3 ? 1 : 0));
    for (std::size_t w = 0; w < held; ++w) out[w] = wordAt(raw, w);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(held), out.end(), 0);
}

bool looksLikeNicolet(std::string_view head) { return headerOf(head).has_value(); }

bool readNicoletFid(Document& doc, Messages& said, std::string_view bytes) {
    const std::optional<NicoletHeader> header = headerOf(bytes);
    if (!header) {
        said.push_back(Message{"Not a Nicolet header", "Error", MessageIcon::None});
        return false;
    }
    const double sw = readNicoletFloat(bytes, header->swWord);
    const double aq = readNicoletFloat(bytes, header->aqWord) / 1000000.0;
    const double sf = readNicoletFloat(bytes, header->sfWord);
    if (!(sw > 0.0) || !(aq > 0.0) || bytes.size() < kDataAt) return false;
    const double size = std::trunc(aq * 2.0 * sw);
    // The file must hold every word its header counts: 2.5 bytes each from byte 1280.
    const double packedBytes = static_cast<double>(bytes.size() - kDataAt);
    if (!(size >= 1.0) || size * 2.5 > packedBytes + 5.0) return false;
    std::size_t td = static_cast<std::size_t>(size);
    if (td % 2 == 1) ++td;
    const std::string_view packed = bytes.substr(kDataAt);
    if (packed.size() < td / 2 * 5) return false;

    AcqParams& p = doc.spectrum.acqPars;
    p.SW = sw;
    p.AQ = aq;
    p.SF = sf;
    doc.spectrum.nData = static_cast<int>(std::min<std::size_t>(td, INT_MAX));
    p.TD = doc.spectrum.nData;
    // Capped before any value is read: the buffers hold kCapacity doubles.
    capToCapacity(doc.spectrum, said);
    const std::size_t points = static_cast<std::size_t>(p.TD) / 2;
    // All real parts come first, then all imaginary parts: those start at word td / 2 of the
    // file even when fewer values are kept.
    const auto* raw = reinterpret_cast<const std::uint8_t*>(packed.data());
    double* dest = doc.spectrum.specData.data();
    for (std::size_t k = 0; k < points; ++k) {
        dest[2 * k] = wordAt(raw, k);
        dest[2 * k + 1] = wordAt(raw, td / 2 + k);
    }
    doc.spectrum.noteSpecExtent(p.TD);
    p.aqMode = 1;
    p.complexData = 1;
    p.offsetHz = 0.0;
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = ReferenceSource::None;
    doc.spectrum.groupDelay = 0.0;
    // Stored as acquired: nothing in the header says the imaginary parts run the other way.
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    return true;
}

}  // namespace pelvaron::io
