// Decoding the ASDF data tables of JCAMP-DX: a table of character classes, fast digit scanners for
// the common SQZ and DIF tokens, and one token parser for every other form.
#include "io/jcamp_asdf.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

namespace pelvaron::io {

namespace {

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

/// The DUP count at p (a DUP character, S..Z = 1..8 or s = 9, then further digits); p is left after
/// it. Digits beyond a count of 10^8, far more than any table holds, are passed over.
inline int dupCount(const char*& p, const char* end) {
    int count = digitOf(*p++);
    for (; p < end && classOf(*p) == kDigit; ++p)
        if (count < 100000000) count = count * 10 + (*p - '0');
    return count;
}

/// Decodes the token starting at p (which is not a separator), in one pass; p is left at the
/// next delimiter.
[[gnu::always_inline]] inline JcampToken parseToken(const char*& p, const char* end) {
    JcampToken t;
    const char* const start = p;
    const std::uint8_t cls = classOf(*p);

    if (cls == kDup) {
        t.kind = JcampToken::Kind::DupOnly;
        t.count = dupCount(p, end);
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
        if (p < end && classOf(*p) == kDup) t.count = dupCount(p, end);
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

}  // namespace

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
    const char* const textEnd = text.data() + text.size();
    JcampLines lines(text, start);
    std::string_view line;

    auto finish = [&](std::size_t at) {
        if (pendingCheck) ++index;
        result.count = index;
        result.endPosition = at;
        return result;
    };

    while (true) {
        if (!lines.next(line)) {
            result.endOfFile = true;
            return finish(text.size());
        }
        const std::size_t lineStart = lines.lineStart();
        const char* p = line.data();
        const char* const end = p + line.size();
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

}  // namespace pelvaron::io
