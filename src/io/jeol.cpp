// JEOL Delta files.
#include "io/jeol.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "base/format.h"
#include "io/capacity.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

// The header: big-endian whatever order the parameters and data are in. Fields of eight entries
// give one per dimension; the reader uses the first.
constexpr std::size_t kEndianAt = 8;       // 0 big-endian, 1 little-endian
constexpr std::size_t kDimensionsAt = 12;  // the number of dimensions
constexpr std::size_t kTypeAt = 14;        // value type in the two high bits, layout in the rest
constexpr std::size_t kAxisTypeAt = 24;
constexpr std::size_t kUnitsAt = 32;  // two bytes each: prefix and power, base unit
constexpr std::size_t kPointsAt = 176, kOffsetStartAt = 208, kOffsetStopAt = 240;
constexpr std::size_t kAxisStartAt = 272, kAxisStopAt = 336;  // doubles
constexpr std::size_t kBaseFrequencyAt = 1064;                // double, MHz
constexpr std::size_t kParamStartAt = 1212, kParamLengthAt = 1216;
constexpr std::size_t kDataStartAt = 1284, kDataLengthAt = 1288;  // 32 and 64 bits
constexpr std::size_t kHeaderSize = 1360;

// The parameter section: a 16-byte head (record size, lowest and highest index, total size),
// then one record per parameter.
constexpr std::size_t kParamHeadSize = 16;
constexpr std::size_t kRecordUnitAt = 6, kRecordValueAt = 16, kRecordTypeAt = 32, kRecordNameAt = 36;
constexpr std::size_t kRecordNameSize = 28, kRecordSize = 64;
constexpr std::size_t kRecordStringSize = 16;
enum : std::int32_t { kValueString = 0, kValueInteger = 1, kValueFloat = 2 };

// Base units and axis types the reader knows.
constexpr std::uint8_t kUnitHertz = 13, kUnitPpm = 26, kUnitSecond = 28;
enum : std::uint8_t {
    kAxisReal = 1,
    kAxisTppi = 2,
    kAxisComplex = 3,
    kAxisRealComplex = 4,
    kAxisEnvelope = 5
};
constexpr std::uint8_t kLayoutOneD = 1;

/// A filter's delay beyond this many points describes no data the document can hold.
constexpr double kMostDelay = kCapacity / 2.0;

/// The file's bytes with the byte order of its parameters and data.
struct Bytes {
    const std::uint8_t* p;
    std::size_t size;
    bool little;

    [[nodiscard]] std::uint32_t u32(std::size_t at) const {
        return little ? bytes::loadLE32(p + at) : bytes::loadBE32(p + at);
    }
    [[nodiscard]] double f64(std::size_t at) const {
        return little ? bytes::loadLEDouble(p + at) : bytes::loadBEDouble(p + at);
    }
    [[nodiscard]] double f32(std::size_t at) const { return std::bit_cast<float>(u32(at)); }
};

/// The factor of a unit's prefix: its high four bits count thousands, signed (-1 kilo, 2 micro).
double prefixFactor(std::uint8_t unitByte) {
    int n = unitByte >> 4;
    if (n >= 8) n -= 16;
    return std::pow(10.0, -3.0 * n);
}

/// The parameters the reader takes, in their base units (Hz, ppm).
struct JeolParams {
    std::optional<double> sweep, frequency, offsetPpm, offsetHz;
    std::string orders, factors, solvent, domain;
    bool filterOff = false;  ///< digital_filter says FALSE
};

std::string trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\0'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return std::string(s);
}

/// The parameter section, or nothing when its records run past the end of the file. A file
/// without one (start and length 0) has no parameters.
std::optional<JeolParams> readParams(const Bytes& b, std::uint32_t start, std::uint32_t length) {
    JeolParams params;
    if (start == 0 && length == 0) return params;
    if (b.size < kParamHeadSize || start > b.size - kParamHeadSize) return std::nullopt;
    const std::uint32_t recordSize = b.u32(start);
    const std::uint64_t count = std::uint64_t{b.u32(start + 8)} + 1;  // indices 0 ... highest
    if (recordSize < kRecordSize || (b.size - start - kParamHeadSize) / recordSize < count)
        return std::nullopt;

    for (std::uint64_t k = 0; k < count; ++k) {
        const std::size_t r = start + kParamHeadSize + static_cast<std::size_t>(k) * recordSize;
        const std::string name =
            lowerAscii(trimmed({reinterpret_cast<const char*>(b.p + r + kRecordNameAt), kRecordNameSize}));
        const auto type = static_cast<std::int32_t>(b.u32(r + kRecordTypeAt));
        const std::uint8_t unitPrefix = b.p[r + kRecordUnitAt], unit = b.p[r + kRecordUnitAt + 1];
        if (type == kValueString) {
            const std::string text =
                trimmed({reinterpret_cast<const char*>(b.p + r + kRecordValueAt), kRecordStringSize});
            if (name == "orders")
                params.orders = text;
            else if (name == "factors")
                params.factors = text;
            else if (name == "solvent")
                params.solvent = text;
            else if (name == "x_domain")
                params.domain = text;
            else if (name == "digital_filter")
                params.filterOff = lowerAscii(text) == "false";
            continue;
        }
        if (type != kValueFloat && type != kValueInteger) continue;
        const double raw = type == kValueFloat ? b.f64(r + kRecordValueAt)
                                               : static_cast<std::int32_t>(b.u32(r + kRecordValueAt));
        const double value = raw * prefixFactor(unitPrefix);
        if (!std::isfinite(value)) continue;
        if (name == "x_sweep") {
            params.sweep = value;
        } else if (name == "x_freq") {
            params.frequency = value;
        } else if (name == "x_offset") {
            // The carrier is given in ppm from the reference; a file that gives it in Hz is read so.
            if (unit == kUnitHertz)
                params.offsetHz = value;
            else
                params.offsetPpm = value;
        }
    }
    return params;
}

/// The whole numbers of a text, or nothing when a word is not one.
std::optional<std::vector<long>> wholeNumbers(std::string_view text) {
    std::vector<long> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        const std::size_t begin = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos == begin) {
            if (pos < text.size()) return std::nullopt;
            break;
        }
        if (pos - begin > 6) return std::nullopt;
        out.push_back(wordToLong(text.substr(begin, pos - begin)));
    }
    return out;
}

/// The delay, in points, of the spectrometer's digital filter, a cascade of FIR stages: `orders`
/// holds the number of stages and each one's taps, `factors` each stage's decimation. A stage of N
/// taps delays by (N - 1) / 2 of its input samples, counted in output points after its own and
/// every later stage's decimation. Nothing when the texts do not describe such a cascade.
std::optional<double> filterDelay(std::string_view ordersText, std::string_view factorsText) {
    const auto orders = wholeNumbers(ordersText), factors = wholeNumbers(factorsText);
    if (!orders || !factors || orders->empty()) return std::nullopt;
    const auto stages = static_cast<std::size_t>((*orders)[0]);
    if (stages == 0 || orders->size() != stages + 1 || factors->size() != stages) return std::nullopt;
    double delay = 0.0, decimation = 1.0;
    for (std::size_t l = stages; l-- > 0;) {
        const long taps = (*orders)[l + 1], factor = (*factors)[l];
        if (taps < 1 || factor < 1) return std::nullopt;
        decimation *= static_cast<double>(factor);
        delay += (static_cast<double>(taps) - 1.0) / 2.0 / decimation;
    }
    if (!(delay < kMostDelay)) return std::nullopt;
    return delay;
}

/// JEOL names the nucleus in words ("Proton", "Carbon13"); reports name it "1H", "13C".
std::string nucleusOfDomain(std::string_view domain) {
    struct Element {
        std::string_view name, symbol;
    };
    static constexpr std::array<Element, 19> kElements{{
        {"proton", "1H"},   {"deuterium", "2H"}, {"tritium", "3H"},   {"helium", "He"},   {"lithium", "Li"},
        {"boron", "B"},     {"carbon", "C"},     {"nitrogen", "N"},   {"oxygen", "O"},    {"fluorine", "F"},
        {"sodium", "Na"},   {"aluminum", "Al"},  {"aluminium", "Al"}, {"silicon", "Si"},  {"phosphorus", "P"},
        {"selenium", "Se"}, {"cadmium", "Cd"},   {"tin", "Sn"},       {"platinum", "Pt"},
    }};
    const std::string text = trimmed(domain);
    std::size_t letters = 0;
    while (letters < text.size() && std::isalpha(static_cast<unsigned char>(text[letters]))) ++letters;
    const std::string name = lowerAscii(text.substr(0, letters));
    const std::string mass = text.substr(letters);
    for (const Element& e : kElements) {
        if (name != e.name) continue;
        if (std::isdigit(static_cast<unsigned char>(e.symbol[0])))
            return mass.empty() ? std::string(e.symbol) : text;
        return nucleusName(std::string(e.symbol) + mass);
    }
    return nucleusName(text);
}

/// Values the document takes from every JEOL file: no former data set's filter or processing.
void setJeolDefaults(Document& doc) {
    doc.spectrum.acqPars.DECIM = 1;
    doc.spectrum.acqPars.DSPFVS = 0;
    doc.spectrum.groupDelay = 0.0;
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
}

}  // namespace

bool looksLikeJeol(std::string_view head) { return head.starts_with("JEOL.NMR"); }

bool readJeolFile(Document& doc, Messages& said, std::string_view text) {
    if (!looksLikeJeol(text) || text.size() < kHeaderSize) return false;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(text.data());
    const std::uint8_t endian = raw[kEndianAt];
    if (endian > 1) return false;
    const Bytes b{raw, text.size(), endian == 1};

    const int dimensions = raw[kDimensionsAt];
    if (dimensions > 1) {
        said.push_back(Message{cformat("This JEOL Delta file holds %d-dimensional data.\n"
                                       "Only one-dimensional FIDs and spectra can be read.",
                                       dimensions),
                               "Error", MessageIcon::None});
        return false;
    }
    if (dimensions != 1 || (raw[kTypeAt] & 0x3F) != kLayoutOneD) return false;
    const int valueType = raw[kTypeAt] >> 6;
    if (valueType > 1) return false;
    const std::size_t width = valueType == 0 ? 8 : 4;
    const std::uint8_t axisType = raw[kAxisTypeAt];
    std::size_t sections = 0;
    if (axisType == kAxisReal || axisType == kAxisTppi || axisType == kAxisEnvelope) sections = 1;
    if (axisType == kAxisComplex || axisType == kAxisRealComplex) sections = 2;
    if (sections == 0) return false;
    const std::uint8_t unitPrefix = raw[kUnitsAt], unit = raw[kUnitsAt + 1];
    const bool fid = unit == kUnitSecond;
    if (!fid && unit != kUnitPpm && unit != kUnitHertz) return false;

    // Each section holds `points` values, padded to whole submatrices; in one dimension the
    // submatrices are consecutive runs of a section, so the data are its points first ... last.
    const std::uint32_t points = bytes::loadBE32(raw + kPointsAt);
    const std::uint32_t first = bytes::loadBE32(raw + kOffsetStartAt),
                        last = bytes::loadBE32(raw + kOffsetStopAt);
    if (points == 0 || first > last || last >= points) return false;
    const std::uint64_t count = std::uint64_t{last} - first + 1;
    const std::uint64_t sectionBytes = std::uint64_t{points} * width;
    const std::uint32_t dataStart = bytes::loadBE32(raw + kDataStartAt);
    const std::uint64_t dataLength = bytes::loadBE64(raw + kDataLengthAt);
    if (sections * sectionBytes > dataLength || dataStart > b.size ||
        b.size - dataStart < sections * sectionBytes)
        return false;
    const std::optional<JeolParams> params =
        readParams(b, bytes::loadBE32(raw + kParamStartAt), bytes::loadBE32(raw + kParamLengthAt));
    if (!params) return false;

    const double sf =
        params->frequency ? *params->frequency / 1e6 : bytes::loadBEDouble(raw + kBaseFrequencyAt);
    if (!std::isfinite(sf)) return false;
    const double axisStart = bytes::loadBEDouble(raw + kAxisStartAt) * prefixFactor(unitPrefix);
    const double axisStop = bytes::loadBEDouble(raw + kAxisStopAt) * prefixFactor(unitPrefix);
    const auto value = [&](std::size_t section, std::uint64_t point) {
        const std::size_t at = dataStart + section * sectionBytes + static_cast<std::size_t>(point) * width;
        return width == 8 ? b.f64(at) : b.f32(at);
    };

    AcqParams& p = doc.spectrum.acqPars;
    const bool complex = sections == 2;
    // A one-section FID is a run of real samples; a spectrum is always held as complex points.
    const std::uint64_t values = complex || !fid ? 2 * count : count;
    doc.spectrum.nData = static_cast<int>(std::min<std::uint64_t>(values, std::numeric_limits<int>::max()));
    p.TD = doc.spectrum.nData;
    setJeolDefaults(doc);
    double* out = doc.spectrum.specData.data();

    if (fid) {
        // x_sweep; else the axis, which runs in seconds from the first point to the last.
        double sw = params->sweep.value_or(0.0);
        if (!(sw > 0.0 && std::isfinite(sw)) && count > 1)
            sw = static_cast<double>(count - 1) / (axisStop - axisStart);
        if (!(sw > 0.0 && std::isfinite(sw))) return false;
        p.SW = sw;
        p.SF = sf;
        capToCapacity(doc.spectrum, said);
        if (complex) {
            for (int j = 0; j < p.TD / 2; ++j) {
                out[2 * j] = value(0, first + static_cast<std::uint64_t>(j));
                out[2 * j + 1] = value(1, first + static_cast<std::uint64_t>(j));
            }
        } else {
            for (int j = 0; j < p.TD; ++j) out[j] = value(0, first + static_cast<std::uint64_t>(j));
        }
        p.aqMode = complex ? 1 : 0;
        p.complexData = complex ? 1 : 0;
        // The imaginary section turns the other way from the transform's: taken as it stands, every
        // line would lie mirrored about the carrier.
        doc.spectrum.negateImag = doc.spectrum.fileNegateImag = complex ? 1 : 0;
        // The carrier, and with it the axis, lies x_offset from the reference.
        const double carrier = params->offsetHz ? *params->offsetHz : params->offsetPpm.value_or(0.0) * sf;
        const bool referenced =
            (params->offsetHz || (params->offsetPpm && sf > 0.0)) && std::isfinite(carrier);
        p.offsetHz = referenced ? carrier - sw / 2.0 : 0.0;
        doc.spectrum.referenceSource = referenced ? ReferenceSource::DataHeader : ReferenceSource::None;
        if (!params->filterOff) {
            if (auto delay = filterDelay(params->orders, params->factors)) doc.spectrum.groupDelay = *delay;
        }
    } else {
        // The axis gives the first and the last point's place: ppm from the reference, or Hz (taken
        // from the reference too). A spectrum that runs upwards is turned round, as the document
        // holds the highest frequency first.
        const double scale = unit == kUnitPpm ? sf : 1.0;
        const double from = axisStart * scale, to = axisStop * scale;
        if (count < 2 || !std::isfinite(from) || !std::isfinite(to) || from == to) return false;
        if (unit == kUnitPpm && !(sf > 0.0)) return false;
        const double spacing = std::fabs(to - from) / static_cast<double>(count - 1);
        capToCapacity(doc.spectrum, said);
        const bool upwards = to > from;
        const int kept = p.TD / 2;
        for (int j = 0; j < kept; ++j) {
            const std::uint64_t i =
                upwards ? last - static_cast<std::uint64_t>(j) : first + static_cast<std::uint64_t>(j);
            out[2 * j] = value(0, i);
            out[2 * j + 1] = complex ? value(1, i) : 0.0;
        }
        p.SW = spacing * kept;
        p.SF = sf;
        p.offsetHz = std::max(from, to) - p.SW;
        if (!(p.SW > 0.0) || !std::isfinite(p.SW) || !std::isfinite(p.offsetHz)) return false;
        p.aqMode = 1;
        p.complexData = 1;
        doc.spectrum.referenceSource = ReferenceSource::DataHeader;
        doc.import.spectrumLoaded = 1;
    }
    doc.spectrum.noteSpecExtent(p.TD);
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.solvent = recordedText(params->solvent);
    doc.spectrum.nucleus = nucleusOfDomain(params->domain);
    return true;
}

}  // namespace pelvaron::io
