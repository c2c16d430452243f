// Reading JCAMP-DX files: the header labels in two passes over one table of label names (the
// header's labels, then an NTUPLES block's), the block of a compound file, and the data tables
// through the ASDF decoder.
#include "io/jcamp_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "base/numeric.h"
#include "io/capacity.h"

namespace pelvaron::io {

namespace {

using Icon = MessageIcon;

// ---------------------------------------------------------------------------------------------
// Labels.

/// A label line: its normalised name (in a small fixed buffer) and its value.
struct LabelLine {
    std::array<char, 40> name{};
    std::size_t nameLength = 0;
    std::string_view value;

    [[nodiscard]] std::string_view label() const { return {name.data(), nameLength}; }
};

inline bool droppedInLabel(char c) { return c == ' ' || c == '\t' || c == '-' || c == '/' || c == '_'; }

inline char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

/// Recognises "##NAME=value" (blanks before "##" allowed).
bool parseLabelLine(std::string_view line, LabelLine& out) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (line.size() - i < 3 || line[i] != '#' || line[i + 1] != '#') return false;
    const std::size_t eq = line.find('=', i + 2);
    if (eq == std::string_view::npos) return false;
    out.nameLength = 0;
    for (std::size_t k = i + 2; k < eq; ++k) {
        const char c = line[k];
        if (droppedInLabel(c)) continue;
        if (out.nameLength == out.name.size()) {
            out.nameLength = 0;  // longer than any label this reader looks for
            out.name[0] = '?';
            out.nameLength = 1;
            break;
        }
        out.name[out.nameLength++] = upper(c);
    }
    out.value = line.substr(eq + 1);
    return true;
}

constexpr std::array<std::string_view, kJcampLabelCount> kMissingWarnings = {
    "could not read TITLE label",   "could not read JCAMP label",     "could not read AQMODE label",
    "could not read XUNITS label",  "could not read DATATYPE label",  "could not read DATACLASS label",
    "could not read NUCLEUS label", "could not read XFACTOR label",   "could not read YFACTOR label",
    "could not read NPOINTS label", "could not read FREQUENCY label", "could not read XYDATA label",
    "could not read FIRSTX label",  "could not read LASTX label"};

constexpr int bit(int label) { return 1 << label; }

/// The two passes over the labels: the header's, then an NTUPLES block's.
enum class Pass : std::uint8_t { Header, NTuples };

/// Where the value of a label goes, by its normalised name and the pass that reads it.
struct LabelRule {
    std::string_view name;
    Pass pass = Pass::Header;
    int label = -1;                              ///< one of the fourteen: its value and found bit
    int alsoFound = 0;                           ///< further found bits the label stands for
    std::string JcampFileInfo::*text = nullptr;  ///< else the text of a further label
    bool JcampFileInfo::*mark = nullptr;         ///< else a label whose presence is what counts
};

/// A row for one of the fourteen labels; a row for the text of a further label.
constexpr LabelRule fourteen(std::string_view name, int label, Pass pass = Pass::Header, int alsoFound = 0) {
    return {name, pass, label, alsoFound};
}
constexpr LabelRule further(std::string_view name, std::string JcampFileInfo::*text,
                            Pass pass = Pass::Header) {
    return {.name = name, .pass = pass, .text = text};
}

using Info = JcampFileInfo;
constexpr LabelRule kLabelRules[] = {
    // The header: the fourteen labels ...
    fourteen("TITLE", kJcampTitle),
    fourteen("JCAMPDX", kJcampVersion),
    fourteen(".ACQUISITIONMODE", kJcampAqMode),
    fourteen("XUNITS", kJcampXUnits),
    fourteen("DATATYPE", kJcampDataType),
    fourteen("DATACLASS", kJcampDataClass),
    fourteen(".OBSERVENUCLEUS", kJcampNucleus),
    fourteen("XFACTOR", kJcampXFactor),
    fourteen("YFACTOR", kJcampYFactor),
    fourteen("NPOINTS", kJcampNPoints),
    fourteen(".OBSERVEFREQUENCY", kJcampFrequency),
    fourteen("XYDATA", kJcampXYData),
    fourteen("FIRSTX", kJcampFirstX),
    fourteen("LASTX", kJcampLastX),
    // ... and those that decide how the data are laid out and referenced.
    further("ORIGIN", &Info::origin),
    further(".SHIFTREFERENCE", &Info::shiftReference),
    further(".SOLVENTNAME", &Info::solventName),
    {.name = "$PELVARONLAYOUT", .mark = &Info::ownLayoutMark},
    further("$PELVARONOFFSET", &Info::offsetHzText),
    further("$DECIM", &Info::decimText),
    further("$DSPFVS", &Info::dspfvsText),
    further("$GRPDLY", &Info::groupDelayText),
    further("$SF", &Info::sfText),
    further("$BF1", &Info::bf1Text),
    further("$OFFSET", &Info::offsetText),
    further("$SWP", &Info::swpText),
    further("$O1", &Info::o1Text),
    // An NTUPLES block: its columns' labels stand for the fourteen's, FACTOR for both factors.
    fourteen("VARDIM", kJcampNPoints, Pass::NTuples),
    fourteen("FIRST", kJcampFirstX, Pass::NTuples),
    fourteen("LAST", kJcampLastX, Pass::NTuples),
    fourteen("UNITS", kJcampXUnits, Pass::NTuples),
    fourteen("FACTOR", kJcampXFactor, Pass::NTuples, bit(kJcampYFactor)),
    further("SYMBOL", &Info::symbolText, Pass::NTuples),
};

const LabelRule* findRule(std::string_view name, Pass pass) {
    for (const LabelRule& rule : kLabelRules)
        if (rule.pass == pass && rule.name == name) return &rule;
    return nullptr;
}

/// The found bits a pass sets when it has read all its labels.
constexpr int labelsOf(Pass pass) {
    int mask = 0;
    for (const LabelRule& rule : kLabelRules)
        if (rule.pass == pass && rule.label >= 0) mask |= bit(rule.label) | rule.alsoFound;
    return mask;
}
static_assert(labelsOf(Pass::Header) == kJcampAllLabels);

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (upper(s[i]) != prefix[i]) return false;
    return true;
}

/// The block of the text to read: the whole text, or in a compound file whose first block is a
/// LINK block, the first NMR SPECTRUM or NMR FID block (the first block when none is NMR data).
std::string_view selectBlock(std::string_view text) {
    JcampLines cursor(text, 0);
    std::string_view line;
    LabelLine label;
    bool link = false;
    while (cursor.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        if (label.label() == "DATATYPE") {
            link = normalizeJcampLabel(label.value) == "LINK";
            break;
        }
        if (label.label() == "XYDATA" || label.label() == "NTUPLES" || label.label() == "PAGE") break;
    }
    if (!link) return text;

    cursor = JcampLines(text, 0);
    int depth = 0;
    std::size_t blockStart = 0;
    bool nmr = false;
    std::string_view first;
    while (cursor.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        const std::string_view name = label.label();
        if (name == "TITLE") {
            if (++depth == 2) {
                blockStart = cursor.lineStart();
                nmr = false;
            }
        } else if (name == "DATATYPE" && depth == 2) {
            const std::string type = normalizeJcampLabel(label.value);
            nmr = type.rfind("NMRSPECTRUM", 0) == 0 || type.rfind("NMRFID", 0) == 0;
        } else if (name == "END") {
            if (depth == 2) {
                const std::string_view block = text.substr(blockStart, cursor.position() - blockStart);
                if (nmr) return block;
                if (first.empty()) first = block;
            }
            if (--depth <= 0) break;
        }
    }
    // Chosen when no block is NMR data: the first block, as a plain file would be read.
    return first.empty() ? text : first;
}

// ---------------------------------------------------------------------------------------------
// The reader.

class JcampReader {
public:
    JcampReader(Spectrum& spectrum, Messages& said, JcampFileInfo& info)
        : spectrum_(spectrum), said_(said), info_(info) {}

    bool read(std::string_view text);

private:
    void readLabels(std::string_view block, Pass pass);
    void warnCapacity() {
        if (capacityWarned_) return;
        capacityWarned_ = true;
        const int nData = spectrum_.nData;
        const int td = spectrum_.acqPars.TD;
        spectrum_.nData = kCapacity + 1;
        capToCapacity(spectrum_, said_);
        // The document's size is settled when the import completes; a failed read changes nothing.
        spectrum_.nData = nData;
        spectrum_.acqPars.TD = td;
    }
    [[nodiscard]] int declaredPoints() const {
        return truncToInt(jcampNumber(info_.jcampLabels[kJcampNPoints]));
    }
    void countCheck(const JcampTableResult& r);
    JcampTableResult decodeInto(std::string_view block, std::size_t start, int offset);
    void clearDecoded(int offset, int count);

    Spectrum& spectrum_;
    Messages& said_;
    JcampFileInfo& info_;
    std::size_t afterXYData_ = std::string_view::npos;
    bool capacityWarned_ = false;  // the capacity warning was shown during this read
};

/// Reads the labels of one pass. The header pass ends at XYDATA, whose table follows, or once all
/// fourteen labels are found; the NTUPLES pass once each of its labels is (SYMBOL stands before
/// VAR_DIM in an NTUPLES block, so it is in by then).
void JcampReader::readLabels(std::string_view block, Pass pass) {
    JcampLines lines(block, 0);
    std::string_view line;
    LabelLine label;
    const int wanted = labelsOf(pass);
    int found = 0;
    while (lines.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        const LabelRule* rule = findRule(label.label(), pass);
        if (!rule) continue;
        if (rule->label >= 0) {
            info_.jcampLabels[static_cast<std::size_t>(rule->label)].assign(label.value);
            found |= bit(rule->label) | rule->alsoFound;
            info_.foundMask |= found;
        } else if (rule->text) {
            (info_.*rule->text).assign(label.value);
        } else {
            info_.*rule->mark = true;
        }
        if (rule->label == kJcampXYData) {
            afterXYData_ = lines.position();
            return;
        }
        if (found == wanted) return;
    }
}

void JcampReader::countCheck(const JcampTableResult& r) {
    if (r.overflowed) {
        warnCapacity();
        info_.jcampLabels[kJcampNPoints] = std::to_string(r.count);
        return;
    }
    if (r.count != declaredPoints()) {
        said_.push_back({"Number of points different from the expected", "warning", Icon::None});
        info_.jcampLabels[kJcampNPoints] = std::to_string(r.count);
    }
}

JcampTableResult JcampReader::decodeInto(std::string_view block, std::size_t start, int offset) {
    JcampDestination dest{spectrum_.specData.data() + offset, 2, kJcampTableCapacity};
    JcampTableResult r = decodeJcampTable(block, start, dest);
    if (r.endOfFile) said_.push_back({std::to_string(r.count), "", Icon::None});
    countCheck(r);
    (offset == 0 ? info_.realCount : info_.imagCount) = r.count;
    return r;
}

void JcampReader::clearDecoded(int offset, int count) {
    for (int k = 0; k < count && k < kJcampTableCapacity; ++k) spectrum_.specData[2 * k + offset] = 0.0;
}

bool JcampReader::read(std::string_view text) {
    const std::string_view block = selectBlock(text);
    readLabels(block, Pass::Header);

    const std::string dataClass = normalizeJcampLabel(info_.jcampLabels[kJcampDataClass]);
    const std::string xyData = normalizeJcampLabel(info_.jcampLabels[kJcampXYData]);
    const bool ntuples = dataClass.rfind("NTUPLE", 0) == 0 || xyData.rfind("NTUPLES", 0) == 0;
    info_.ntuples = ntuples;
    if (ntuples) {
        info_.foundMask |= bit(kJcampXYData);
        readLabels(block, Pass::NTuples);
    }
    for (int i = 0; i < kJcampLabelCount; ++i) {
        if (!(info_.foundMask & bit(i)))
            said_.push_back(
                {std::string(kMissingWarnings[static_cast<std::size_t>(i)]), "warning", Icon::None});
    }
    // The size is known now: warn before decoding when the file announces more than fits.
    if (declaredPoints() > kJcampTableCapacity) warnCapacity();

    // Exports of the earlier layout put the imaginary parts into the page labelled real.
    info_.legacyLayout = !info_.ownLayoutMark && info_.origin.find("Pelvaron EXPORT") != std::string::npos;
    const int realOffset = info_.legacyLayout ? 1 : 0;
    const int imagOffset = 1 - realOffset;

    if (afterXYData_ != std::string_view::npos &&
        trimLeft(info_.jcampLabels[kJcampXYData]).rfind("(X++(Y..Y))", 0) == 0) {
        (void)decodeInto(block, afterXYData_, 0);
        return true;
    }
    if (!ntuples) return true;

    // The real page: the DATA TABLE line that follows the first "##PAGE=".
    JcampLines cursor(block, 0);
    std::string_view line;
    LabelLine label;
    bool page = false;
    while (cursor.next(line)) {
        if (parseLabelLine(line, label) && label.label() == "PAGE") {
            page = true;
            break;
        }
    }
    if (!page) return true;  // nothing to decode; the data stay as the import cleared them
    bool table = false;
    while (cursor.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        // Page-level labels (such as NPOINTS) may stand between the page and its table.
        if (label.label() == "DATATABLE") {
            table = true;
            break;
        }
        if (label.label() == "PAGE" || startsWithNoCase(label.label(), "END")) break;
    }
    auto formFrom = [](std::string_view value, const char* set) {
        const std::size_t at = value.find_first_of(set);
        return at == std::string_view::npos ? std::string_view() : value.substr(at);
    };
    if (!table || formFrom(label.value, "(X+R.").rfind("(X++(R..R", 0) != 0) {
        said_.push_back({"Error, I couldn't find the real data points!!", "error", Icon::None});
        return false;
    }
    const JcampTableResult real = decodeInto(block, cursor.position(), realOffset);

    // The imaginary page: the next DATA TABLE line.
    cursor = JcampLines(block, real.endPosition);
    table = false;
    while (cursor.next(line)) {
        if (parseLabelLine(line, label) && label.label() == "DATATABLE") {
            table = true;
            break;
        }
    }
    if (!table) return true;
    if (formFrom(label.value, "(X+I.").rfind("(X++(I..I", 0) != 0) {
        said_.push_back({" I did not found the imaginary points", "error", Icon::None});
        clearDecoded(realOffset, real.count);
        return false;
    }
    (void)decodeInto(block, cursor.position(), imagOffset);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

double jcampNumber(std::string_view value) {
    value = trimLeft(value);
    while (!value.empty() && value.front() == '(') value = trimLeft(value.substr(1));
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    (void)ptr;
    return ec == std::errc() ? v : 0.0;
}

std::vector<std::string_view> jcampColumns(std::string_view value) {
    if (const std::size_t comment = value.find("$$"); comment != std::string_view::npos)
        value = value.substr(0, comment);
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    auto trim = [&](std::string_view s) {
        while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
        while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
        return s;
    };
    std::vector<std::string_view> columns;
    if (value.find(',') != std::string_view::npos) {
        // An empty column keeps its place: "HZ, ARBITRARY UNITS, ARBITRARY UNITS," has four.
        while (true) {
            const std::size_t comma = value.find(',');
            columns.push_back(trim(value.substr(0, comma)));
            if (comma == std::string_view::npos) break;
            value.remove_prefix(comma + 1);
        }
        return columns;
    }
    for (std::size_t i = 0; i < value.size();) {
        while (i < value.size() && isBlank(value[i])) ++i;
        const std::size_t start = i;
        while (i < value.size() && !isBlank(value[i])) ++i;
        if (i > start) columns.push_back(value.substr(start, i - start));
    }
    return columns;
}

std::optional<double> jcampColumnNumber(std::string_view value, std::size_t column) {
    const std::vector<std::string_view> columns = jcampColumns(value);
    if (column >= columns.size()) return std::nullopt;
    std::string_view text = columns[column];
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr == text.data()) return std::nullopt;
    return v;
}

std::string normalizeJcampLabel(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (droppedInLabel(c) || c == '\r' || c == '\n') continue;
        out.push_back(upper(c));
    }
    return out;
}

bool looksLikeJcampText(std::string_view head) {
    std::size_t i = 0;
    if (head.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // a byte-order mark
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n')) ++i;
    if (head.substr(i, 2) != "##") return false;
    JcampLines cursor(head, i);
    std::string_view line;
    LabelLine label;
    while (cursor.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        const std::string_view name = label.label();
        if (name == "XYDATA" || name == "NTUPLES" || name == "DATATABLE" || name == "PEAKTABLE" ||
            name == "XYPOINTS")
            return true;
        if ((name == "DATATYPE" || name == "DATACLASS") && normalizeJcampLabel(label.value) == "LINK")
            return true;
    }
    return false;
}

bool readJcampText(Spectrum& spectrum, Messages& said, std::string_view text, JcampFileInfo& info) {
    info = JcampFileInfo{};
    JcampReader reader(spectrum, said, info);
    if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos) {
        // Lines ended by a carriage return alone.
        std::string copy(text);
        std::replace(copy.begin(), copy.end(), '\r', '\n');
        return reader.read(copy);
    }
    return reader.read(text);
}

bool readJcamp(Spectrum& spectrum, Messages& said, const std::string& path, JcampFileInfo& info) {
    info = JcampFileInfo{};
    std::string text;
    bool opened = false;
    {
        std::error_code ec;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
            std::filesystem::is_regular_file(path, ec) ? std::fopen(path.c_str(), "rb") : nullptr,
            &std::fclose);
        if (file && std::fseek(file.get(), 0, SEEK_END) == 0) {
            const long size = std::ftell(file.get());
            if (size >= 0 && std::fseek(file.get(), 0, SEEK_SET) == 0) {
                try {
                    text.resize(static_cast<std::size_t>(size));
                    opened = std::fread(text.data(), 1, text.size(), file.get()) == text.size();
                } catch (const std::exception&) {
                    opened = false;  // more than memory holds
                }
            }
        }
    }
    if (!opened) {
        said.push_back({"Error opening file", "error", Icon::None});
        return false;
    }
    return readJcampText(spectrum, said, text, info);
}

}  // namespace pelvaron::io
