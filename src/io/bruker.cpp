// Bruker UXNMR/XWIN-NMR parameter and data files.
#include "io/bruker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "base/byte_order.h"
#include "io/bruker_params.h"
#include "io/capacity.h"
#include "io/companion.h"
#include "io/parameter_words.h"

namespace pelvaron::io {

namespace {

namespace fs = std::filesystem;

int clampToInt(long v) {
    return static_cast<int>(
        std::clamp<long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

/// Applies an explicit byte-order label ("##$BYTORDA=", "##$BYTORDP="): 0 little-, 1 big-endian.
/// The label outranks any guess from the file's text.
struct ByteOrderLabel {
    bool seen = false;
    bool bigEndian = false;
};

/// Decodes `count` values of `bytes` into dest[offset], dest[offset + stride], ...; values the
/// bytes do not hold (a short file, a partial last value) become 0.
void decodeValues(std::string_view bytes, int count, const BrukerDataFormat& format, double* dest, int offset,
                  int stride) {
    const std::size_t width = format.doubles ? 8 : 4;
    const std::size_t held = bytes.size() / width;
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        double v = 0.0;
        if (i < held) {
            const std::uint8_t* p = raw + i * width;
            if (format.doubles) {
                v = format.bigEndian ? bytes::loadBEDouble(p) : bytes::loadLEDouble(p);
            } else {
                v = static_cast<std::int32_t>(format.bigEndian ? bytes::loadBE32(p) : bytes::loadLE32(p));
            }
        }
        dest[static_cast<std::size_t>(offset) + i * static_cast<std::size_t>(stride)] = v;
    }
}

std::optional<ProcessingParams> parsedIfPresent(std::optional<std::string_view> text) {
    if (!text) return std::nullopt;
    return parseProcessingParams(*text);
}

/// References a FID (offsetHz, SF, referenceSource) and keeps its recorded processing, from the
/// first processed data set: the OFFSET of procs when that set spans the whole acquired width,
/// else that of proc under the same test, else the acquisition's own O1, SW_h and BF1 (`o1`),
/// else an OFFSET of a set whose width is not recorded. SF comes from procs (else proc), else
/// stays BF1. Warns when none of these references the data.
void referenceFid(Document& doc, Messages& said, const std::optional<ProcessingParams>& procs,
                  const std::optional<ProcessingParams>& proc, std::optional<double> o1) {
    AcqParams& p = doc.spectrum.acqPars;
    const double bf1 = p.SF;
    // The ppm axis is divided by the frequency of 0 ppm, which the processed set records.
    if (procs && procs->SF && *procs->SF > 0.0) {
        p.SF = *procs->SF;
    } else if (proc && proc->SF && *proc->SF > 0.0) {
        p.SF = *proc->SF;
    }
    doc.spectrum.recorded = procs ? recordedProcessing(*procs) : RecordedProcessing{};

    // OFFSET is the ppm of the first point of the processed set, so it references the FID only
    // when that set spans the acquired width: a strip ("SW_p" less than SW_h) starts elsewhere.
    auto wholeWidthOffset = [&](const std::optional<ProcessingParams>& set) -> std::optional<double> {
        if (!set || !set->OFFSET || !set->SW_p || !coversWholeWidth(*set->SW_p, p.SW)) return std::nullopt;
        return *set->OFFSET;
    };
    p.offsetHz = 0.0;
    doc.spectrum.referenceSource = ReferenceSource::None;
    if (auto offset = wholeWidthOffset(procs)) {
        p.offsetHz = *offset * p.SF - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::Procs;
    } else if (auto offset = wholeWidthOffset(proc)) {
        p.offsetHz = *offset * p.SF - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::Proc;
    } else if (o1) {
        p.offsetHz = offsetFromCarrier(*o1, p.SW, bf1, p.SF);
        doc.spectrum.referenceSource = ReferenceSource::Acqus;
    } else if (proc && proc->OFFSET && !proc->SW_p) {
        // A set that does not say its width is taken at its word, as files of old versions were.
        p.offsetHz = *proc->OFFSET * p.SF - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::Proc;
    } else if (procs && procs->OFFSET && !procs->SW_p) {
        p.offsetHz = *procs->OFFSET * p.SF - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::Procs;
    }
    if (doc.spectrum.referenceSource == ReferenceSource::None) {
        said.push_back(
            Message{"The 'proc' file was not found.\n The spectrum will not be automatically referenced",
                    "Warning", MessageIcon::Exclamation});
    }
}

/// What the import does with every data set it has read: the set-up, and a spectrum shown as one.
void setUpImported(Document& doc) {
    setupDocument(doc);
    if (doc.import.spectrumLoaded) markAsSpectrum(doc);
    doc.import.spectrumLoaded = 0;
}

/// The solvent and the observed nucleus an acqus text records; both empty when it names none.
void readAcquisitionNames(Spectrum& s, std::string_view acqus) {
    s.solvent.clear();
    s.nucleus.clear();
    const ParameterWords words(acqus);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!isLabelWord(words[i])) continue;
        std::size_t at = i;
        std::string* into = nullptr;
        std::optional<std::string_view> v;
        if ((v = words.valueOf(at, "##$SOLVENT="))) {
            into = &s.solvent;
        } else if ((v = words.valueOf(at, "##$NUC1="))) {
            into = &s.nucleus;
        } else {
            continue;
        }
        // A label without a value leaves the next label to be read.
        if (v->starts_with("##")) continue;
        *into = into == &s.nucleus ? nucleusName(*v) : recordedText(*v);
        i = at;
    }
}

}  // namespace

bool parseAcqus(Document& doc, Messages& said, std::string_view text, BrukerDataFormat& format,
                std::optional<double>* o1) {
    doc.spectrum.acqPars.DECIM = 1;
    readAcquisitionNames(doc.spectrum, text);
    format = BrukerDataFormat{};
    const ParameterWords words(text);

    bool xwinSeen = false;
    ByteOrderLabel order;
    double groupDelay = 0.0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        std::size_t at = i;
        if (word.substr(0, 4) == "XWIN") xwinSeen = true;
        if (!isLabelWord(word)) continue;
        if (auto v = words.valueOf(at, "##$AQ_mod=")) {
            doc.spectrum.acqPars.aqMode = static_cast<std::int16_t>(wordToLong(*v));
            doc.spectrum.acqPars.complexData = doc.spectrum.acqPars.aqMode != 0 ? 1 : 0;
        } else if (auto v = words.valueOf(at, "##$SW_h=")) {
            doc.spectrum.acqPars.SW = wordToDouble(*v);
        } else if (auto v = words.valueOf(at, "##$TD=")) {
            doc.spectrum.nData = clampToInt(wordToLong(*v));
            doc.spectrum.acqPars.TD = doc.spectrum.nData;
            capToCapacity(doc.spectrum, said);
        } else if (auto v = words.valueOf(at, "##$BF1=")) {
            doc.spectrum.acqPars.SF = wordToDouble(*v);
        } else if (auto v = words.valueOf(at, "##$DECIM")) {
            doc.spectrum.acqPars.DECIM = clampToInt(wordToLong(*v));
        } else if (auto v = words.valueOf(at, "##$DSPFVS")) {
            doc.spectrum.acqPars.DSPFVS = clampToInt(wordToLong(*v));
        } else if (auto v = words.valueOf(at, "##$BYTORDA=")) {
            order.seen = true;
            order.bigEndian = wordToLong(*v) == 1;
        } else if (auto v = words.valueOf(at, "##$DTYPA=")) {
            format.doubles = wordToLong(*v) == 2;
        } else if (auto v = words.valueOf(at, "##$GRPDLY=")) {
            groupDelay = wordToDouble(*v);
        } else if (auto v = words.valueOf(at, "##$O1=")) {
            if (o1 && std::isfinite(wordToDouble(*v))) *o1 = wordToDouble(*v);
        }
        i = at;
    }
    // The byte-order label, when present, is the truth; the XWIN guess is for files without it.
    format.bigEndian = order.seen ? order.bigEndian : xwinSeen;
    doc.spectrum.groupDelay = groupDelay > 0.0 ? groupDelay : 0.0;
    doc.spectrum.acqPars.offsetHz = 0.0;
    doc.spectrum.refIndex = doc.spectrum.acqPars.TD;
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    // A parameter file without a usable size or width cannot describe the data.
    return doc.spectrum.acqPars.TD > 0 && doc.spectrum.acqPars.SW > 0.0;
}

bool readBrukerFidData(Document& doc, Messages& said, const BrukerExperiment& files) {
    return readBrukerFidData(doc, said, files, true);
}

bool readBrukerFidData(Document& doc, Messages& said, const BrukerExperiment& files, bool fidReadable) {
    BrukerDataFormat format;
    std::optional<double> o1;
    if (!files.acqus || !parseAcqus(doc, said, *files.acqus, format, &o1)) {
        said.push_back(Message{"Cannot Open Acqus", "Error", MessageIcon::None});
        return false;
    }
    if (!fidReadable) {
        said.push_back(Message{"Cannot Open", doc.fileTitle, MessageIcon::None});
        return false;
    }
    decodeValues(files.fid, std::min(doc.spectrum.acqPars.TD, kCapacity), format,
                 doc.spectrum.specData.data(), 0, 1);
    referenceFid(doc, said, parsedIfPresent(files.procs), parsedIfPresent(files.proc), o1);
    setUpImported(doc);
    return true;
}

bool readBrukerProcessedData(Document& doc, Messages& said, const BrukerExperiment& files) {
    auto fail = [&] {
        said.push_back(Message{"Cannot Open this file", "Error", MessageIcon::None});
        return false;
    };
    if (!files.procs) return fail();
    const ProcessingParams procs = parseProcessingParams(*files.procs);

    AcqParams& p = doc.spectrum.acqPars;
    if (procs.SW_p) p.SW = *procs.SW_p;
    if (procs.SF) p.SF = *procs.SF;
    if (procs.TDeff) {
        doc.spectrum.nData = clampToInt(*procs.TDeff);
        p.TD = doc.spectrum.nData;
    }
    // 1r and 1i hold SI points each, which may differ from TDeff: the whole spectrum is SI points.
    if (procs.SI && *procs.SI > 0) {
        doc.spectrum.nData = clampToInt(2 * std::min<long>(*procs.SI, std::numeric_limits<int>::max() / 2));
        p.TD = doc.spectrum.nData;
    }
    capToCapacity(doc.spectrum, said);
    BrukerDataFormat format;
    format.doubles = procs.DTYPP == 2L;
    format.bigEndian = procs.BYTORDP ? *procs.BYTORDP == 1 : procs.versionXwin;
    const int td = p.TD;
    if (td <= 0) return fail();
    const int points = td / 2;
    // An odd TD leaves its last real part without an imaginary partner.
    decodeValues(files.real, (td + 1) / 2, format, doc.spectrum.specData.data(), 0, 2);
    decodeValues(files.imag, points, format, doc.spectrum.specData.data(), 1, 2);
    // The files hold integers scaled by 2^-NC_proc: scaled back, intensities compare across sets.
    if (procs.NC_proc && *procs.NC_proc != 0) {
        const int exponent = static_cast<int>(std::clamp<long>(*procs.NC_proc, -1100, 1100));
        // A power of two that is itself a normal double scales exactly by one multiplication.
        const double factor = std::ldexp(1.0, exponent);
        if (std::isnormal(factor)) {
            for (int i = 0; i < td; ++i) doc.spectrum.specData[i] *= factor;
        } else {
            for (int i = 0; i < td; ++i)
                doc.spectrum.specData[i] = std::ldexp(doc.spectrum.specData[i], exponent);
        }
    }
    p.aqMode = 1;
    p.complexData = 1;
    p.DSPFVS = 0;
    doc.spectrum.groupDelay = 0.0;
    // The spectrometer software's own axis: OFFSET is the ppm of the first (left-most) point.
    p.offsetHz = 0.0;
    doc.spectrum.referenceSource = ReferenceSource::None;
    if (procs.OFFSET && p.SF > 0.0 && std::isfinite(*procs.OFFSET * p.SF - p.SW)) {
        p.offsetHz = *procs.OFFSET * p.SF - p.SW;
        doc.spectrum.referenceSource = ReferenceSource::Procs;
    }
    doc.spectrum.recorded = RecordedProcessing{};
    readAcquisitionNames(doc.spectrum, files.acqus.value_or(std::string_view{}));
    doc.spectrum.negateImag = 0;
    doc.spectrum.fileNegateImag = 0;
    p.DECIM = 1;
    doc.import.spectrumLoaded = 1;
    setUpImported(doc);
    return true;
}

std::optional<std::string> readBrukerDataFile(const std::string& path) {
    // No reader uses more than kCapacity values of 8 bytes: a large "ser" file is not read whole.
    return readFileStart(path, static_cast<std::size_t>(kCapacity) * 8);
}

bool readBrukerProcessed(Document& doc, Messages& said, const std::string& dataPath) {
    const std::string dir = fs::path(dataPath).parent_path().string();
    std::optional<std::string> real, imag, procs, acqus;
    if (auto path = findCompanion(dir, "1r")) real = readBrukerDataFile(*path);
    // The experiment's acquisition parameters lie two folders up (EXPNO/pdata/PROCNO/1r).
    const fs::path experiment = fs::path(dir).parent_path().parent_path();
    if (!experiment.empty()) {
        if (auto path = findCompanion(experiment.string(), "acqus")) acqus = readWholeFile(*path);
    }
    if (auto path = findCompanion(dir, "1i")) imag = readBrukerDataFile(*path);
    if (auto path = findCompanion(dir, "procs")) procs = readWholeFile(*path);
    if (!real || !imag || !procs) {
        said.push_back(Message{"Cannot Open this file", "Error", MessageIcon::None});
        return false;
    }
    BrukerExperiment files;
    files.procs = *procs;
    files.real = *real;
    files.imag = *imag;
    if (acqus) files.acqus = *acqus;
    return readBrukerProcessedData(doc, said, files);
}

BrukerReferenceTexts readBrukerReferenceTexts(const std::string& dataPath) {
    const std::string dir = fs::path(dataPath).parent_path().string();
    BrukerReferenceTexts texts;
    if (auto path = findCompanion(dir, "pdata/1/procs")) texts.procs = readWholeFile(*path);
    auto procPath = findCompanion(dir, "pdata/1/proc");
    if (!procPath) procPath = findCompanion(dir, "proc");
    if (procPath) texts.proc = readWholeFile(*procPath);
    return texts;
}

}  // namespace pelvaron::io
