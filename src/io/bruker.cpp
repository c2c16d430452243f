// Bruker UXNMR/XWIN-NMR parameter and data files.
#include "io/bruker.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

#include "document/byte_order.h"
#include "io/companion.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

namespace fs = std::filesystem;

int clampToInt(long v) {
    return static_cast<int>(std::clamp<long>(v, std::numeric_limits<int>::min(),
                                             std::numeric_limits<int>::max()));
}

/// Applies an explicit byte-order label ("##$BYTORDA=", "##$BYTORDP="): 0 little-, 1 big-endian.
/// The label outranks any guess from the file's text.
struct ByteOrderLabel {
    bool seen = false;
    bool bigEndian = false;
};

/// Reads `count` values from `path` into dest[offset], dest[offset + stride], ...; values beyond
/// the end of the file become 0. False when the file cannot be opened.
bool readValues(const std::string& path, int count, const BrukerDataFormat& format, double* dest,
                int offset, int stride) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return false;
    const std::size_t width = format.doubles ? 8 : 4;
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(count) * width);
    const std::size_t got = std::fread(raw.data(), width, static_cast<std::size_t>(count), file.get());
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        double v = 0.0;
        if (i < got) {
            const std::uint8_t* p = raw.data() + i * width;
            if (format.doubles) {
                v = format.bigEndian ? bytes::loadBEDouble(p) : bytes::loadLEDouble(p);
            } else {
                v = static_cast<std::int32_t>(format.bigEndian ? bytes::loadBE32(p) : bytes::loadLE32(p));
            }
        }
        dest[static_cast<std::size_t>(offset) + i * static_cast<std::size_t>(stride)] = v;
    }
    return true;
}

}  // namespace

bool readAcqus(Document& doc, platform::UserInterface& ui, const std::string& path,
               BrukerDataFormat& format) {
    doc.acqPars.DECIM = 1;
    format = BrukerDataFormat{};
    auto words = ParameterWords::load(path);
    if (!words) return false;

    bool xwinSeen = false;
    ByteOrderLabel order;
    double groupDelay = 0.0;
    for (std::size_t i = 0; i < words->size(); ++i) {
        const std::string_view word = (*words)[i];
        std::size_t at = i;
        if (word.substr(0, 4) == "XWIN") xwinSeen = true;
        if (auto v = words->valueOf(at, "##$AQ_mod=")) {
            doc.acqPars.aqMode = static_cast<std::int16_t>(wordToLong(*v));
            doc.acqPars.complexData = doc.acqPars.aqMode != 0 ? 1 : 0;
        } else if (auto v = words->valueOf(at, "##$SW_h=")) {
            doc.acqPars.SW = wordToDouble(*v);
        } else if (auto v = words->valueOf(at, "##$TD=")) {
            doc.nData = clampToInt(wordToLong(*v));
            doc.acqPars.TD = doc.nData;
            capToCapacity(doc, ui);
        } else if (auto v = words->valueOf(at, "##$BF1=")) {
            doc.acqPars.SF = wordToDouble(*v);
        } else if (auto v = words->valueOf(at, "##$DECIM")) {
            doc.acqPars.DECIM = clampToInt(wordToLong(*v));
        } else if (auto v = words->valueOf(at, "##$DSPFVS")) {
            doc.acqPars.DSPFVS = clampToInt(wordToLong(*v));
        } else if (auto v = words->valueOf(at, "##$BYTORDA=")) {
            order.seen = true;
            order.bigEndian = wordToLong(*v) == 1;
        } else if (auto v = words->valueOf(at, "##$DTYPA=")) {
            format.doubles = wordToLong(*v) == 2;
        } else if (auto v = words->valueOf(at, "##$GRPDLY=")) {
            groupDelay = wordToDouble(*v);
        }
        i = at;
    }
    // The byte-order label, when present, is the truth; the XWIN guess is for files without it.
    format.bigEndian = order.seen ? order.bigEndian : xwinSeen;
    doc.groupDelay = groupDelay > 0.0 ? groupDelay : 0.0;
    doc.acqPars.offsetHz = 0.0;
    doc.refIndex = doc.acqPars.TD;
    doc.negateImag = 0;
    doc.fileNegateImag = 0;
    return true;
}

bool readBrukerFid(Document& doc, const std::string& path, int count, const BrukerDataFormat& format) {
    if (count <= 0) return false;
    count = std::min(count, kCapacity);
    return readValues(path, count, format, doc.specData.data(), 0, 1);
}

bool readProcOffset(Document& doc, platform::UserInterface& ui, const std::string& dataPath) {
    const std::string dir = fs::path(dataPath).parent_path().string();
    auto proc = findCompanion(dir, "pdata/1/proc");
    if (!proc) proc = findCompanion(dir, "proc");
    std::optional<ParameterWords> words;
    if (proc) words = ParameterWords::load(*proc);
    if (!words) {
        ui.message("The 'proc' file was not found.\n The spectrum will not be automatically referenced",
                   "Warning", platform::Icon::Exclamation);
        return false;
    }
    for (std::size_t i = 0; i < words->size(); ++i) {
        if (auto v = words->valueOf(i, "##$OFFSET=")) {
            doc.acqPars.offsetHz = wordToDouble(*v) * doc.acqPars.SF - doc.acqPars.SW;
        }
    }
    return true;
}

bool readBrukerProcessed(Document& doc, platform::UserInterface& ui, const std::string& dataPath) {
    const std::string dir = fs::path(dataPath).parent_path().string();
    auto realPath = findCompanion(dir, "1r");
    auto imagPath = findCompanion(dir, "1i");
    auto procsPath = findCompanion(dir, "procs");
    if (!realPath || !imagPath || !procsPath) return false;
    auto words = ParameterWords::load(*procsPath);
    if (!words) return false;

    BrukerDataFormat format;
    bool versionXwin = false;
    ByteOrderLabel order;
    long si = 0;
    for (std::size_t i = 0; i < words->size(); ++i) {
        const std::string_view word = (*words)[i];
        if (word.substr(0, 7) == "VERSION") {
            if (i + 1 < words->size()) versionXwin = (*words)[++i].substr(0, 4) == "XWIN";
            continue;
        }
        std::size_t at = i;
        if (auto v = words->valueOf(at, "##$SW_p=")) {
            doc.acqPars.SW = wordToDouble(*v);
        } else if (auto v = words->valueOf(at, "##$TDeff=")) {
            doc.nData = clampToInt(wordToLong(*v));
            doc.acqPars.TD = doc.nData;
        } else if (auto v = words->valueOf(at, "##$SF=")) {
            doc.acqPars.SF = wordToDouble(*v);
        } else if (auto v = words->valueOf(at, "##$SI=")) {
            si = wordToLong(*v);
        } else if (auto v = words->valueOf(at, "##$BYTORDP=")) {
            order.seen = true;
            order.bigEndian = wordToLong(*v) == 1;
        } else if (auto v = words->valueOf(at, "##$DTYPP=")) {
            format.doubles = wordToLong(*v) == 2;
        }
        i = at;
    }
    // 1r and 1i hold SI points each, which may differ from TDeff: the whole spectrum is SI points.
    if (si > 0) {
        doc.nData = clampToInt(2 * std::min<long>(si, std::numeric_limits<int>::max() / 2));
        doc.acqPars.TD = doc.nData;
    }
    capToCapacity(doc, ui);
    format.bigEndian = order.seen ? order.bigEndian : versionXwin;
    const int td = doc.acqPars.TD;
    if (td <= 0) return false;
    const int points = td / 2;
    // An odd TD leaves its last real part without an imaginary partner.
    if (!readValues(*realPath, (td + 1) / 2, format, doc.specData.data(), 0, 2)) return false;
    if (!readValues(*imagPath, points, format, doc.specData.data(), 1, 2)) return false;
    doc.acqPars.aqMode = 1;
    doc.negateImag = 0;
    doc.fileNegateImag = 0;
    return true;
}

}  // namespace pelvaron::io
