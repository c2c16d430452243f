// Reading JCAMP-DX files: the header labels in two passes (XYDATA labels, then the NTUPLES ones),
// the block of a compound file, and the ASDF decoding of the data tables.
#include "io/jcamp_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "base/numeric.h"
#include "io/capacity.h"

namespace pelvaron::io {

namespace {

using platform::Icon;

// ---------------------------------------------------------------------------------------------
// Characters of the data lines.

// Classes from kSign on are delimiters: they start a new token.
enum CharClass : std::uint8_t {
    kDigit,
    kDot,
    kDup,  // S..Z s
    kDollar,
    kOther,
    kSign,
    kSeparator,  // space, comma, tab
    kSqzPos,     // @ A..I
    kSqzNeg,     // a..i
    kDifPos,     // % J..R
    kDifNeg,     // j..r
};

struct CharInfo {
    std::array<std::uint8_t, 256> cls{};
    std::array<std::uint8_t, 256> digit{};  // the digit a pseudo-digit stands for
};

constexpr CharInfo makeCharInfo() {
    CharInfo t{};
    for (auto& c : t.cls) c = kOther;
    for (int c = '0'; c <= '9'; ++c) {
        t.cls[c] = kDigit;
        t.digit[c] = static_cast<std::uint8_t>(c - '0');
    }
    t.cls['.'] = kDot;
    t.cls['+'] = kSign;
    t.cls['-'] = kSign;
    t.cls[' '] = kSeparator;
    t.cls[','] = kSeparator;
    t.cls['\t'] = kSeparator;  // tabs separate values as spaces do
    t.cls['@'] = kSqzPos;
    for (int c = 'A'; c <= 'I'; ++c) {
        t.cls[c] = kSqzPos;
        t.digit[c] = static_cast<std::uint8_t>(c - 'A' + 1);
    }
    for (int c = 'a'; c <= 'i'; ++c) {
        t.cls[c] = kSqzNeg;
        t.digit[c] = static_cast<std::uint8_t>(c - 'a' + 1);
    }
    t.cls['%'] = kDifPos;
    for (int c = 'J'; c <= 'R'; ++c) {
        t.cls[c] = kDifPos;
        t.digit[c] = static_cast<std::uint8_t>(c - 'J' + 1);
    }
    for (int c = 'j'; c <= 'r'; ++c) {
        t.cls[c] = kDifNeg;
        t.digit[c] = static_cast<std::uint8_t>(c - 'j' + 1);
    }
    for (int c = 'S'; c <= 'Z'; ++c) {
        t.cls[c] = kDup;
        t.digit[c] = static_cast<std::uint8_t>(c - 'S' + 1);
    }
    t.cls['s'] = kDup;
    t.digit['s'] = 9;
    t.cls['$'] = kDollar;
    return t;
}

constexpr CharInfo kChars = makeCharInfo();

inline std::uint8_t classOf(char c) { return kChars.cls[static_cast<unsigned char>(c)]; }
inline int digitOf(char c) { return kChars.digit[static_cast<unsigned char>(c)]; }
inline bool isDelimiter(std::uint8_t cls) { return cls >= kSign; }

constexpr std::array<double, 256> makeLeadSign() {
    std::array<double, 256> t{};
    for (auto& v : t) v = 1.0;
    for (int c = 'a'; c <= 'i'; ++c) t[static_cast<std::size_t>(c)] = -1.0;
    for (int c = 'j'; c <= 'r'; ++c) t[static_cast<std::size_t>(c)] = -1.0;
    return t;
}
/// The sign an SQZ or DIF character gives its value.
constexpr std::array<double, 256> kLeadSign = makeLeadSign();

constexpr std::array<std::uint64_t, 9> kIntPow10 = {1,      10,      100,      1000,     10000,
                                                    100000, 1000000, 10000000, 100000000};

inline std::uint64_t load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    return w;
}

/// How many of the 8 characters at p are decimal digits before the first that is not.
inline int digitRun(const char* p) {
    const std::uint64_t w = load8(p);
    // A byte is zero exactly when it is a digit: high nibble 3, low nibble at most 9.
    const std::uint64_t notDigit =
        ((w & 0xF0F0F0F0F0F0F0F0ull) ^ 0x3030303030303030ull) |
        (((w & 0x0F0F0F0F0F0F0F0Full) + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull);
    return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

/// The value of the n (0..7) digits at p.
inline std::uint64_t eightDigits(const char* p, int n) {
    if (n == 0) return 0;
    // The digits moved to the top, zeros (leading zeros) below them.
    std::uint64_t v = (load8(p) - 0x3030303030303030ull) << (64 - 8 * n);
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * 0x000F424000000064ull) +
         (((v >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >>
        32;
    return v;
}

constexpr std::array<double, 20> kPow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                           1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19};

/// A plain number with an exponent ("1.5E+03"): only the form with a sign after the letter is
/// taken as an exponent, since E and e are pseudo-digits otherwise.
inline bool hasExponentAt(const char* p, const char* end) {
    return end - p >= 3 && (p[0] == 'E' || p[0] == 'e') && (p[1] == '+' || p[1] == '-') &&
           classOf(p[2]) == kDigit;
}

/// Decodes the token starting at p (which is not a separator), in one pass; p is left at the
/// next delimiter.
[[gnu::always_inline]] inline JcampToken parseToken(const char*& p, const char* end) {
    JcampToken t;
    const char* const start = p;
    const std::uint8_t cls = classOf(*p);

    if (cls == kDup) {
        long long count = digitOf(*p++);
        while (p < end && classOf(*p) == kDigit) {
            if (count < 100000000) count = count * 10 + (*p - '0');
            ++p;
        }
        t.kind = JcampToken::Kind::DupOnly;
        t.count = static_cast<int>(count);
    } else if (cls == kDollar || cls == kOther) {
        ++p;
    } else {
        // A value: sign and first digit from the lead character, then digits and one point.
        bool negative = false;
        std::uint64_t mantissa = 0;
        const char* numberStart = p;
        switch (cls) {
            case kSign:
                negative = *p == '-';
                numberStart = ++p;
                t.kind = JcampToken::Kind::Plain;
                break;
            case kDigit:
            case kDot: t.kind = JcampToken::Kind::Plain; break;
            case kSqzNeg: negative = true; [[fallthrough]];
            case kSqzPos:
                mantissa = static_cast<std::uint64_t>(digitOf(*p++));
                t.kind = JcampToken::Kind::Squeezed;
                break;
            case kDifNeg: negative = true; [[fallthrough]];
            default:
                mantissa = static_cast<std::uint64_t>(digitOf(*p++));
                t.kind = JcampToken::Kind::Difference;
                break;
        }
        int digits = 0;
        int fraction = 0;
        bool point = false;
        const char* const digitsStart = p;
        for (; p < end; ++p) {
            const std::uint8_t c = classOf(*p);
            if (c == kDigit) {
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
                ++digits;
                fraction += point;
            } else if (c == kDot && !point) {
                point = true;
            } else {
                break;
            }
        }
        double v;
        if (digits <= 18 && mantissa <= (std::uint64_t{1} << 53)) {
            v = fraction == 0 ? static_cast<double>(mantissa)
                              : static_cast<double>(mantissa) / kPow10[static_cast<std::size_t>(fraction)];
        } else {
            // Long numbers: let the library round them.
            std::string text;
            if (t.kind != JcampToken::Kind::Plain) text.push_back(static_cast<char>('0' + digitOf(*start)));
            text.append(digitsStart, p);
            std::from_chars(text.data(), text.data() + text.size(), v);
        }
        if (t.kind == JcampToken::Kind::Plain && hasExponentAt(p, end)) {
            const char* e = p + 2;
            while (e < end && classOf(*e) == kDigit) ++e;
            std::from_chars(numberStart, e, v);
            p = e;
        }
        t.value = negative ? -v : v;
        if (p < end && classOf(*p) == kDup) {
            long long count = digitOf(*p++);
            while (p < end && classOf(*p) == kDigit) {
                if (count < 100000000) count = count * 10 + (*p - '0');
                ++p;
            }
            t.count = static_cast<int>(count);
        }
    }
    // Whatever else stands before the next delimiter is not part of the value; a "$" anywhere in
    // the token ends the table.
    if (cls == kDollar) t.endsTable = true;
    for (; p < end && !isDelimiter(classOf(*p)); ++p) {
        if (*p == '$') t.endsTable = true;
    }
    t.length = static_cast<std::size_t>(p - start);
    return t;
}

// ---------------------------------------------------------------------------------------------
// Lines and labels.

/// Lines of a text: "\n" ends a line, a "\r" before it is dropped.
class LineCursor {
public:
    LineCursor(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        lineStart_ = pos_;
        const char* base = text_.data();
        const void* nl = std::memchr(base + pos_, '\n', text_.size() - pos_);
        std::size_t end = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - base) : text_.size();
        pos_ = nl ? end + 1 : text_.size();
        if (end > lineStart_ && base[end - 1] == '\r') --end;
        line = text_.substr(lineStart_, end - lineStart_);
        return true;
    }
    [[nodiscard]] std::size_t lineStart() const { return lineStart_; }
    [[nodiscard]] std::size_t position() const { return pos_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
};

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

/// Label names of the fourteen labels, normalised, in bit order.
constexpr std::array<std::string_view, kJcampLabelCount> kLabelNames = {
    "TITLE",           "JCAMPDX", ".ACQUISITIONMODE", "XUNITS",  "DATATYPE",          "DATACLASS",
    ".OBSERVENUCLEUS", "XFACTOR", "YFACTOR",          "NPOINTS", ".OBSERVEFREQUENCY", "XYDATA",
    "FIRSTX",          "LASTX"};

constexpr std::array<std::string_view, kJcampLabelCount> kMissingWarnings = {
    "could not read TITLE label",   "could not read JCAMP label",     "could not read AQMODE label",
    "could not read XUNITS label",  "could not read DATATYPE label",  "could not read DATACLASS label",
    "could not read NUCLEUS label", "could not read XFACTOR label",   "could not read YFACTOR label",
    "could not read NPOINTS label", "could not read FREQUENCY label", "could not read XYDATA label",
    "could not read FIRSTX label",  "could not read LASTX label"};

inline int bit(int label) { return 1 << label; }

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
    LineCursor cursor(text, 0);
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

    cursor = LineCursor(text, 0);
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
    JcampReader(Document& doc, platform::UserInterface& ui) : doc_(doc), ui_(ui), s_(doc.jcamp) {}

    bool read(std::string_view text);

private:
    void firstPass(std::string_view block);
    void secondPass(std::string_view block);
    void store(int label, std::string_view value) {
        s_.jcampLabels[static_cast<std::size_t>(label)].assign(value);
        s_.foundMask |= bit(label);
    }
    void warnCapacity() {
        if (s_.capacityWarned) return;
        s_.capacityWarned = true;
        const int nData = doc_.spectrum.nData;
        const int td = doc_.spectrum.acqPars.TD;
        doc_.spectrum.nData = kCapacity + 1;
        capToCapacity(doc_.spectrum, ui_);
        // The document's size is settled when the import completes; a failed read changes nothing.
        doc_.spectrum.nData = nData;
        doc_.spectrum.acqPars.TD = td;
    }
    [[nodiscard]] int declaredPoints() const {
        return truncToInt(jcampNumber(s_.jcampLabels[kJcampNPoints]));
    }
    void countCheck(const JcampTableResult& r);
    JcampTableResult decodeInto(std::string_view block, std::size_t start, int offset);
    void clearDecoded(int offset, int count);

    Document& doc_;
    platform::UserInterface& ui_;
    JcampState& s_;
    std::size_t afterXYData_ = std::string_view::npos;
};

void JcampReader::firstPass(std::string_view block) {
    LineCursor cursor(block, 0);
    std::string_view line;
    LabelLine label;
    while (cursor.next(line)) {
        if (!parseLabelLine(line, label)) continue;
        const std::string_view name = label.label();
        bool matched = false;
        for (int i = 0; i < kJcampLabelCount; ++i) {
            if (name == kLabelNames[static_cast<std::size_t>(i)]) {
                store(i, label.value);
                matched = true;
                if (i == kJcampVersion) s_.lastJcampText.assign(label.value);
                if (i == kJcampXYData) {
                    afterXYData_ = cursor.position();
                    return;
                }
                break;
            }
        }
        if (!matched) {
            if (name == "ORIGIN")
                s_.origin.assign(label.value);
            else if (name == ".SHIFTREFERENCE")
                s_.shiftReference.assign(label.value);
            else if (name == "$PELVARONLAYOUT")
                s_.ownLayoutMark = true;
            else if (name == "$PELVARONOFFSET")
                s_.offsetHzText.assign(label.value);
            else if (name == "$DECIM")
                s_.decimText.assign(label.value);
            else if (name == "$DSPFVS")
                s_.dspfvsText.assign(label.value);
            else if (name == "$GRPDLY")
                s_.groupDelayText.assign(label.value);
            else if (name == "$SF")
                s_.sfText.assign(label.value);
            else if (name == "$BF1")
                s_.bf1Text.assign(label.value);
            else if (name == "$OFFSET")
                s_.offsetText.assign(label.value);
            else if (name == "$SWP")
                s_.swpText.assign(label.value);
            else if (name == "$O1")
                s_.o1Text.assign(label.value);
        }
        if (s_.foundMask == kJcampAllLabels) return;
    }
}

void JcampReader::secondPass(std::string_view block) {
    LineCursor cursor(block, 0);
    std::string_view line;
    LabelLine label;
    int seen = 0;
    // SYMBOL stands before VAR_DIM in an NTUPLES block, so it is in by the time the pass stops.
    while (cursor.next(line) && seen != 0x1F) {
        if (!parseLabelLine(line, label)) continue;
        const std::string_view name = label.label();
        if (name == "VARDIM") {
            store(kJcampNPoints, label.value);
            seen |= 1;
        } else if (name == "FIRST") {
            store(kJcampFirstX, label.value);
            seen |= 2;
        } else if (name == "LAST") {
            store(kJcampLastX, label.value);
            seen |= 4;
        } else if (name == "UNITS") {
            store(kJcampXUnits, label.value);
            seen |= 8;
        } else if (name == "FACTOR") {
            store(kJcampXFactor, label.value);
            s_.foundMask |= bit(kJcampYFactor);
            seen |= 16;
        } else if (name == "SYMBOL") {
            s_.symbolText.assign(label.value);
        }
    }
}

void JcampReader::countCheck(const JcampTableResult& r) {
    if (r.overflowed) {
        warnCapacity();
        s_.jcampLabels[kJcampNPoints] = std::to_string(r.count);
        return;
    }
    if (r.count != declaredPoints()) {
        ui_.message("Number of points different from the expected", "warning", Icon::None);
        s_.jcampLabels[kJcampNPoints] = std::to_string(r.count);
    }
}

JcampTableResult JcampReader::decodeInto(std::string_view block, std::size_t start, int offset) {
    JcampDestination dest{doc_.spectrum.specData.data() + offset, 2, kJcampTableCapacity};
    JcampTableResult r = decodeJcampTable(block, start, dest);
    if (r.endOfFile) ui_.message(std::to_string(r.count), "", Icon::None);
    countCheck(r);
    (offset == 0 ? s_.realCount : s_.imagCount) = r.count;
    return r;
}

void JcampReader::clearDecoded(int offset, int count) {
    for (int k = 0; k < count && k < kJcampTableCapacity; ++k) doc_.spectrum.specData[2 * k + offset] = 0.0;
}

bool JcampReader::read(std::string_view text) {
    const std::string_view block = selectBlock(text);
    firstPass(block);

    const std::string dataClass = normalizeJcampLabel(s_.jcampLabels[kJcampDataClass]);
    const std::string xyData = normalizeJcampLabel(s_.jcampLabels[kJcampXYData]);
    const bool ntuples = dataClass.rfind("NTUPLE", 0) == 0 || xyData.rfind("NTUPLES", 0) == 0;
    s_.ntuples = ntuples;
    if (ntuples) {
        s_.foundMask |= bit(kJcampXYData);
        secondPass(block);
    }
    for (int i = 0; i < kJcampLabelCount; ++i) {
        if (!(s_.foundMask & bit(i)))
            ui_.message(kMissingWarnings[static_cast<std::size_t>(i)], "warning", Icon::None);
    }
    // The size is known now: warn before decoding when the file announces more than fits.
    if (declaredPoints() > kJcampTableCapacity) warnCapacity();

    // Exports of the earlier layout put the imaginary parts into the page labelled real.
    s_.legacyLayout = !s_.ownLayoutMark && s_.origin.find("Pelvaron EXPORT") != std::string::npos;
    const int realOffset = s_.legacyLayout ? 1 : 0;
    const int imagOffset = 1 - realOffset;

    if (afterXYData_ != std::string_view::npos &&
        trimLeft(s_.jcampLabels[kJcampXYData]).rfind("(X++(Y..Y))", 0) == 0) {
        (void)decodeInto(block, afterXYData_, 0);
        return true;
    }
    if (!ntuples) return true;

    // The real page: the DATA TABLE line that follows the first "##PAGE=".
    LineCursor cursor(block, 0);
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
        ui_.message("Error, I couldn't find the real data points!!", "error", Icon::None);
        return false;
    }
    const JcampTableResult real = decodeInto(block, cursor.position(), realOffset);

    // The imaginary page: the next DATA TABLE line.
    cursor = LineCursor(block, real.endPosition);
    table = false;
    while (cursor.next(line)) {
        if (parseLabelLine(line, label) && label.label() == "DATATABLE") {
            table = true;
            break;
        }
    }
    if (!table) return true;
    if (formFrom(label.value, "(X+I.").rfind("(X++(I..I", 0) != 0) {
        ui_.message(" I did not found the imaginary points", "error", Icon::None);
        clearDecoded(realOffset, real.count);
        return false;
    }
    (void)decodeInto(block, cursor.position(), imagOffset);
    return true;
}

void resetState(JcampState& s) {
    for (auto& v : s.jcampLabels) v.clear();
    s.foundMask = 0;
    s.origin.clear();
    s.shiftReference.clear();
    s.ownLayoutMark = false;
    s.offsetHzText.clear();
    s.decimText.clear();
    s.dspfvsText.clear();
    s.groupDelayText.clear();
    s.sfText.clear();
    s.bf1Text.clear();
    s.offsetText.clear();
    s.swpText.clear();
    s.o1Text.clear();
    s.symbolText.clear();
    s.ntuples = false;
    s.legacyLayout = false;
    s.realCount = 0;
    s.imagCount = 0;
    s.capacityWarned = false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

JcampToken decodeJcampToken(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t skipped = 0;
    if (p < end && classOf(*p) == kSeparator) {
        ++p;
        skipped = 1;
    }
    if (p == end || classOf(*p) == kSeparator) {
        JcampToken t;
        t.length = skipped;
        return t;
    }
    JcampToken t = parseToken(p, end);
    if (!t.endsTable) t.length += skipped;
    return t;
}

JcampTableResult decodeJcampTable(std::string_view text, std::size_t start, const JcampDestination& dest) {
    JcampTableResult result;
    double* const data = dest.data;
    const std::ptrdiff_t stride = dest.stride;
    const int capacity = dest.capacity;
    int index = 0;
    bool pendingCheck = false;  // the index stepped back for the next line's Y check
    double previous = 0.0;      // the value at index - 1 (0 before the first)
    std::size_t pos = start;
    const char* const base = text.data();
    const char* const textEnd = base + text.size();

    auto finish = [&](std::size_t at) {
        if (pendingCheck) ++index;
        result.count = index;
        result.endPosition = at;
        return result;
    };

    while (true) {
        if (pos >= text.size()) {
            result.endOfFile = true;
            return finish(text.size());
        }
        const std::size_t lineStart = pos;
        const void* nl = std::memchr(base + pos, '\n', text.size() - pos);
        const std::size_t lineEnd =
            nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - base) : text.size();
        pos = nl ? lineEnd + 1 : text.size();

        const char* p = base + lineStart;
        const char* end = base + lineEnd;
        if (end > p && end[-1] == '\r') --end;
        const char* first = p;
        while (first < end && (*first == ' ' || *first == '\t')) ++first;
        if (end - first >= 2 &&
            ((first[0] == '#' && first[1] == '#') || (first[0] == '$' && first[1] == '$'))) {
            return finish(lineStart);
        }

        bool sawX = false;
        bool haveY = false;    // a Y value was decoded on this line
        bool lastDif = false;  // the last value decoded on this line was a difference
        double lastDiff = 0.0;
        while (p < end) {
            if (classOf(*p) == kSeparator) {
                ++p;
                continue;
            }
            // The common ASDF token, an integer SQZ or DIF value standing alone, is decoded here
            // without branching on its sign or kind; everything else goes through parseToken.
            const std::uint8_t lead = classOf(*p);
            if (lead >= kSqzPos && sawX) {
                const char* q = p + 1;
                std::uint64_t m = static_cast<std::uint64_t>(digitOf(*p));
                if (textEnd - q >= 8) {
                    // Up to seven digits at once; the bytes read past the line are never used.
                    const int n = digitRun(q);
                    if (n < 8) {
                        m = m * kIntPow10[static_cast<std::size_t>(n)] + eightDigits(q, n);
                        q += n;
                    }
                } else {
                    const char* const limit = q + std::min<std::ptrdiff_t>(end - q, 15);
                    while (q < limit && static_cast<unsigned>(*q - '0') < 10u) {
                        m = m * 10 + static_cast<std::uint64_t>(*q - '0');
                        ++q;
                    }
                }
                if (q >= end || isDelimiter(classOf(*q))) {
                    q = std::min(q, end);
                    const bool difference = lead >= kDifPos;
                    const double v = kLeadSign[static_cast<unsigned char>(*p)] * static_cast<double>(m);
                    if (index >= capacity) {
                        result.overflowed = true;
                        return finish(lineStart);
                    }
                    const double current = difference ? previous + v : v;
                    data[index * stride] = current;
                    previous = current;
                    lastDiff = v;
                    ++index;
                    pendingCheck = false;
                    haveY = true;
                    lastDif = difference;
                    p = q;
                    continue;
                }
            }
            const JcampToken t = parseToken(p, end);
            if (t.endsTable) return finish(lineStart);
            if (t.kind == JcampToken::Kind::NotAValue) continue;

            if (!sawX && t.kind != JcampToken::Kind::DupOnly) {
                sawX = true;  // the abscissa: checked by nobody, overwritten by the first ordinate
                continue;
            }

            bool dif = t.kind == JcampToken::Kind::Difference;
            double v = t.value;
            int copies = t.count;
            if (t.kind == JcampToken::Kind::DupOnly) {
                // A DUP count on its own repeats the value (or difference) before it.
                if (!haveY) continue;
                dif = lastDif;
                v = dif ? lastDiff : previous;
                copies = t.count - 1;
            } else {
                // A difference as the first value of a table adds to 0 (previous starts at 0).
                if (dif) {
                    lastDiff = v;
                    v += previous;
                }
                if (index >= capacity) {
                    result.overflowed = true;
                    return finish(lineStart);
                }
                data[index * stride] = v;
                previous = v;
                ++index;
                --copies;
                pendingCheck = false;
                haveY = true;
                lastDif = dif;
            }
            // Repeats: a repeated difference keeps adding up; a repeated value stays the same.
            for (; copies > 0; --copies) {
                if (index >= capacity) {
                    result.overflowed = true;
                    return finish(lineStart);
                }
                previous = dif ? previous + lastDiff : v;
                data[index * stride] = previous;
                ++index;
            }
        }
        if (haveY && lastDif && index > 0) {
            --index;
            previous = index > 0 ? data[(index - 1) * stride] : 0.0;
            pendingCheck = true;
        }
    }
}

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
    LineCursor cursor(head, i);
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

bool readJcampText(Document& doc, platform::UserInterface& ui, std::string_view text) {
    resetState(doc.jcamp);
    if (text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos) {
        // Lines ended by a carriage return alone.
        std::string copy(text);
        std::replace(copy.begin(), copy.end(), '\r', '\n');
        JcampReader reader(doc, ui);
        return reader.read(copy);
    }
    JcampReader reader(doc, ui);
    return reader.read(text);
}

bool readJcamp(Document& doc, platform::UserInterface& ui, const std::string& path) {
    resetState(doc.jcamp);
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
        ui.message("Error opening file", "error", Icon::None);
        return false;
    }
    return readJcampText(doc, ui, text);
}

}  // namespace pelvaron::io
