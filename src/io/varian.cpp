// Varian VXR/Unity and Gemini (VHELPER) FIDs.
#include "io/varian.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>

#include "base/byte_order.h"
#include "io/capacity.h"
#include "io/companion.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

namespace fs = std::filesystem;

/// Bytes of the fid's file header and of its first block's header, which precede the values.
constexpr std::size_t kVarianDataStart = 32 + 28;

const std::uint8_t* bytesOf(std::string_view s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

/// A count read as a double, truncated toward zero and held within the int range; 0 when it is
/// not a positive finite number.
int countOf(double v) {
    if (!std::isfinite(v) || v < 1.0) return 0;
    return v >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(v);
}

/// The parameters of a procpar that the reader uses; absent when the text does not name them.
struct ProcparValues {
    std::optional<double> sfrq, sw, rfp, rfl, np;
    std::optional<std::string_view> dp, solvent, tn;
};

/// The next word from `pos` on, passing over white space of any kind (line ends included).
std::string_view nextWord(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    return text.substr(start, pos - start);
}

/// Past the end of the present line, which a line feed or a carriage return (or both) ends.
void skipLine(std::string_view text, std::size_t& pos) {
    const std::size_t end = text.find_first_of("\r\n", pos);
    pos = end == std::string_view::npos ? text.size() : end + 1;
}

/// A procpar entry is a line that begins with the parameter's name and its attributes, then a
/// line with the number of values and the values. Names are matched whole and only where a line
/// begins: the parameters are listed alphabetically, so "sw1" and "swet" follow "sw", and a word
/// of a text value ("set np here") is no parameter.
ProcparValues scanProcpar(std::string_view text) {
    ProcparValues v;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // pos is where a line begins: its first word, past any blank lines, is a name.
        const std::string_view name = nextWord(text, pos);
        const bool wanted = name == "sfrq" || name == "sw" || name == "rfp" || name == "rfl" ||
                            name == "np" || name == "dp" || name == "solvent" || name == "tn";
        skipLine(text, pos);
        if (!wanted) continue;
        (void)nextWord(text, pos);  // the number of values
        const std::string_view value = nextWord(text, pos);
        if (value.empty()) break;
        if (name == "dp") {
            v.dp = value;
        } else if (name == "solvent") {
            v.solvent = value;
        } else if (name == "tn") {
            v.tn = value;
        } else {
            const double number = wordToDouble(value);
            if (name == "sfrq")
                v.sfrq = number;
            else if (name == "sw")
                v.sw = number;
            else if (name == "rfp")
                v.rfp = number;
            else if (name == "rfl")
                v.rfl = number;
            else
                v.np = number;
        }
        skipLine(text, pos);  // the rest of the value line
    }
    return v;
}

/// Values the document takes from every Varian FID, whatever the parameter file.
void setVarianDefaults(Document& doc) {
    doc.spectrum.acqPars.aqMode = 1;
    doc.spectrum.acqPars.complexData = 1;  // both files hold complex pairs
    doc.spectrum.groupDelay = 0.0;         // no digital filter to correct
    doc.spectrum.negateImag = 1;
    doc.spectrum.fileNegateImag = 1;
}

float loadLEFloat(const std::uint8_t* p) { return std::bit_cast<float>(bytes::loadLE32(p)); }

}  // namespace

bool readVarianFid(Document& doc, Messages& said, std::string_view fid, std::string_view procpar) {
    const ProcparValues v = scanProcpar(procpar);
    const double sw = v.sw.value_or(0.0), sf = v.sfrq.value_or(0.0);
    const double rfp = v.rfp.value_or(0.0), rfl = v.rfl.value_or(0.0);
    if (!std::isfinite(sf) || !std::isfinite(rfp) || !std::isfinite(rfl)) return false;
    if (!(sw > 0.0 && std::isfinite(sw))) return false;
    const int td = countOf(v.np.value_or(0.0));
    if (td == 0) return false;

    AcqParams& p = doc.spectrum.acqPars;
    p.SF = sf;
    p.SW = sw;
    doc.spectrum.nData = td;
    p.TD = td;
    capToCapacity(doc.spectrum, said);
    // A procpar without dp was written for 16-bit data, the format's older and smaller form.
    const std::size_t width = v.dp == "\"y\"" ? 4 : 2;
    const auto count = static_cast<std::size_t>(p.TD);
    if (fid.size() < kVarianDataStart || (fid.size() - kVarianDataStart) / width < count) return false;

    const std::uint8_t* raw = bytesOf(fid) + kVarianDataStart;
    double* out = doc.spectrum.specData.data();
    if (width == 4) {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int32_t>(bytes::loadBE32(raw + 4 * i));
    } else {
        for (std::size_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int16_t>((raw[2 * i] << 8) | raw[2 * i + 1]);
    }
    doc.spectrum.noteSpecExtent(p.TD);

    // A missing rfp or rfl counts as 0: the reference then rests on the one that is there.
    p.offsetHz = rfp - rfl;
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = v.rfp || v.rfl ? ReferenceSource::Procpar : ReferenceSource::None;
    doc.spectrum.solvent = recordedText(v.solvent.value_or(""));
    doc.spectrum.nucleus = nucleusName(v.tn.value_or(""));
    setVarianDefaults(doc);
    return true;
}

bool readGeminiFid(Document& doc, Messages& said, std::string_view data, std::string_view acqpar) {
    // An entry at r: a 6-character name, 4 unused bytes, a little-endian float at r + 10.
    auto entryHeld = [&](std::size_t r) { return acqpar.size() >= r + 14; };
    auto entry = [&](std::size_t r) { return static_cast<double>(loadLEFloat(bytesOf(acqpar) + r + 10)); };
    constexpr std::size_t kWidth = 48, kPoints = 80, kSfrq = 784, kSfrqAfter = 800;
    if (!entryHeld(kSfrq)) return false;
    const std::size_t sfEntry = acqpar.substr(kSfrq, 4) == "SFRQ" ? kSfrq : kSfrqAfter;
    if (!entryHeld(sfEntry)) return false;
    const double sw = entry(kWidth), sf = entry(sfEntry);
    if (!(sw > 0.0 && std::isfinite(sw)) || !std::isfinite(sf)) return false;
    const int points = countOf(entry(kPoints));
    if (points == 0) return false;

    AcqParams& p = doc.spectrum.acqPars;
    p.SW = sw;
    p.SF = sf;
    doc.spectrum.nData =
        points > std::numeric_limits<int>::max() / 2 ? std::numeric_limits<int>::max() : 2 * points;
    p.TD = doc.spectrum.nData;
    capToCapacity(doc.spectrum, said);
    // A data file shorter than announced gives the values it holds.
    const auto held =
        static_cast<int>(std::min<std::size_t>(data.size() / 4, static_cast<std::size_t>(p.TD)));
    if (held == 0) return false;
    doc.spectrum.nData = held;
    p.TD = held;
    const std::uint8_t* raw = bytesOf(data);
    for (int i = 0; i < held; ++i)
        doc.spectrum.specData[i] = static_cast<std::int32_t>(bytes::loadBE32(raw + 4 * i));
    doc.spectrum.noteSpecExtent(held);

    // The file carries no reference: 0 Hz at the last point, not the previous data set's offset.
    p.offsetHz = 0.0;
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = ReferenceSource::None;
    setVarianDefaults(doc);
    return true;
}

std::optional<std::string> findVarianProcpar(const std::string& dataPath) {
    return findCompanion(fs::path(dataPath).parent_path().string(), "procpar");
}

std::optional<std::string> findGeminiAcqpar(const std::string& dataPath) {
    return findCompanion(fs::path(dataPath).parent_path().string(), "ACQPAR");
}

}  // namespace pelvaron::io
