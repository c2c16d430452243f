// Bruker WIN-NMR FIDs and their DIS/aqs parameter texts, parsed from memory.
#include "io/winnmr.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "base/byte_order.h"
#include "io/capacity.h"
#include "io/companion.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

/// The labels of one kind of parameter text.
struct WinNmrLabels {
    const char* aqMode;
    const char* sw;
    const char* td;
    const char* sf;
    const char* decim;  ///< nullptr: the text does not record it
    const char* dspfvs;
};

constexpr WinNmrLabels kDisLabels{"##$AQMODE=", "##$SPWIDTH=", "##$TDSIZE=", "##$SFREQ=", nullptr, nullptr};
constexpr WinNmrLabels kAqsLabels{"##$AQ_mod=", "##$SW_h=", "##$TD=", "##$BF1=", "##$DECIM=", "##$DSPFVS="};

struct WinNmrParams {
    std::optional<long> aqMode, td, decim, dspfvs;
    std::optional<double> sw, sf;
};

WinNmrParams parseParams(std::string_view text, const WinNmrLabels& labels) {
    WinNmrParams out;
    const ParameterWords words(text);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!isLabelWord(words[i])) continue;
        std::size_t at = i;
        if (auto v = words.valueOf(at, labels.aqMode)) {
            out.aqMode = wordToLong(*v);
        } else if (auto v = words.valueOf(at, labels.sw)) {
            out.sw = wordToDouble(*v);
        } else if (auto v = words.valueOf(at, labels.td)) {
            out.td = wordToLong(*v);
        } else if (auto v = words.valueOf(at, labels.sf)) {
            out.sf = wordToDouble(*v);
        } else if (labels.decim && (v = words.valueOf(at, labels.decim))) {
            out.decim = wordToLong(*v);
        } else if (labels.dspfvs && (v = words.valueOf(at, labels.dspfvs))) {
            out.dspfvs = wordToLong(*v);
        }
        i = at;
    }
    return out;
}

int clampToInt(long v) {
    return static_cast<int>(
        std::clamp<long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

WinNmrCompanions findWinNmrCompanions(const std::string& dataPath) {
    const std::filesystem::path path(dataPath);
    const std::string name = path.filename().string();
    if (name.size() < 3) return {};
    const std::string stem = name.substr(0, name.size() - 3);
    const std::string dir = path.parent_path().string();
    return {findCompanion(dir, stem + "DIS"), findCompanion(dir, stem + "aqs")};
}

bool readWinNmrFid(Document& doc, Messages& said, std::string_view data, std::optional<std::string_view> dis,
                   std::optional<std::string_view> aqs) {
    if (!dis && !aqs) return false;
    const WinNmrParams params = dis ? parseParams(*dis, kDisLabels) : parseParams(*aqs, kAqsLabels);
    // Without a size and a width the text describes no data set (and the time axis would divide
    // by a zero width).
    if (!params.td || *params.td <= 0 || !params.sw || !(*params.sw > 0.0) || !std::isfinite(*params.sw))
        return false;
    const int td = clampToInt(*params.td);
    const std::size_t values = static_cast<std::size_t>(std::min(td, kCapacity));
    if (data.size() / 4 < values) return false;

    AcqParams& p = doc.spectrum.acqPars;
    if (params.aqMode) {
        p.aqMode = static_cast<std::int16_t>(*params.aqMode);
        p.complexData = p.aqMode != 0 ? 1 : 0;
    }
    p.SW = *params.sw;
    doc.spectrum.nData = td;
    p.TD = td;
    capToCapacity(doc.spectrum, said);
    if (params.sf) p.SF = *params.sf;
    // A text that records no decimation describes data without a digital filter to correct; a
    // former data set's filter must not be applied to these.
    p.DECIM = params.decim ? clampToInt(*params.decim) : 1;
    if (params.dspfvs) p.DSPFVS = clampToInt(*params.dspfvs);
    doc.spectrum.groupDelay = 0.0;
    // Nothing references the data: 0 Hz at the last point, not where a former data set had it.
    p.offsetHz = 0.0;
    doc.spectrum.refIndex = p.TD;
    doc.spectrum.referenceSource = ReferenceSource::None;

    const auto* raw = reinterpret_cast<const std::uint8_t*>(data.data());
    double* dest = doc.spectrum.specData.data();
    for (std::size_t i = 0; i < values; ++i) dest[i] = std::bit_cast<float>(bytes::loadLE32(raw + 4 * i));
    doc.spectrum.noteSpecExtent(static_cast<int>(values));
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    return true;
}

}  // namespace pelvaron::io
