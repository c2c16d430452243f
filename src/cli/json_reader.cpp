// A recursive-descent JSON reader with a depth limit, so that no input can exhaust the stack.
#include "cli/json_reader.h"

#include <charconv>
#include <cmath>

namespace pelvaron::cli {

namespace {

constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool document(JsonValue& out) {
        skipSpace();
        if (!value(out, 0)) return false;
        skipSpace();
        if (pos_ != text_.size()) return fail("unexpected text after the end of the document");
        return true;
    }

    [[nodiscard]] std::string error() const { return error_; }

private:
    bool fail(const std::string& what) {
        if (!error_.empty()) return false;
        int line = 1, column = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        error_ = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
        return false;
    }

    [[nodiscard]] bool atEnd() const { return pos_ >= text_.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : text_[pos_]; }

    void skipSpace() {
        while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
    }

    bool literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return fail("unknown word");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        switch (peek()) {
            case '{': return object(out, depth);
            case '[': return array(out, depth);
            case '"': out.kind = JsonValue::Kind::String; return string(out.text);
            case 't':
                out.kind = JsonValue::Kind::Bool;
                out.boolean = true;
                return literal("true");
            case 'f':
                out.kind = JsonValue::Kind::Bool;
                out.boolean = false;
                return literal("false");
            case 'n': out.kind = JsonValue::Kind::Null; return literal("null");
            case '\0':
                if (atEnd()) return fail("unexpected end of the text");
                return fail("unexpected character");
            default: out.kind = JsonValue::Kind::Number; return number(out.number);
        }
    }

    bool object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        ++pos_;  // {
        skipSpace();
        if (peek() == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            skipSpace();
            if (peek() != '"') return fail("expected a key in double quotes");
            std::string key;
            const std::size_t keyStart = pos_;
            if (!string(key)) return false;
            if (out.find(key) != nullptr) {
                pos_ = keyStart;
                return fail("the key \"" + key + "\" appears twice");
            }
            skipSpace();
            if (peek() != ':') return fail("expected ':' after a key");
            ++pos_;
            skipSpace();
            JsonValue member;
            if (!value(member, depth + 1)) return false;
            out.keys.push_back(std::move(key));
            out.items.push_back(std::move(member));
            skipSpace();
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == '}') {
                ++pos_;
                return true;
            }
            return fail("expected ',' or '}' in an object");
        }
    }

    bool array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++pos_;  // [
        skipSpace();
        if (peek() == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            skipSpace();
            JsonValue item;
            if (!value(item, depth + 1)) return false;
            out.items.push_back(std::move(item));
            skipSpace();
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == ']') {
                ++pos_;
                return true;
            }
            return fail("expected ',' or ']' in a list");
        }
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    bool number(double& out) {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        if (peek() == '0') {
            ++pos_;
        } else if (isDigit(peek())) {
            while (isDigit(peek())) ++pos_;
        } else {
            pos_ = start;
            return fail("unexpected character");
        }
        if (peek() == '.') {
            ++pos_;
            if (!isDigit(peek())) return fail("expected a digit after the decimal point");
            while (isDigit(peek())) ++pos_;
        }
        if (peek() == 'e' || peek() == 'E') {
            ++pos_;
            if (peek() == '+' || peek() == '-') ++pos_;
            if (!isDigit(peek())) return fail("expected a digit in the exponent");
            while (isDigit(peek())) ++pos_;
        }
        // from_chars reads the C notation whatever the locale says.
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        const auto result = std::from_chars(first, last, out);
        if (result.ec != std::errc() || result.ptr != last || !std::isfinite(out)) {
            pos_ = start;
            return fail("number out of range");
        }
        return true;
    }

    static void appendUtf8(std::string& s, unsigned cp) {
        if (cp < 0x80) {
            s += static_cast<char>(cp);
        } else if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += static_cast<char>(0xE0 | (cp >> 12));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (cp >> 18));
            s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(unsigned& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = peek();
            unsigned digit;
            if (c >= '0' && c <= '9')
                digit = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<unsigned>(c - 'A' + 10);
            else
                return fail("expected four hexadecimal digits after \\u");
            out = out * 16 + digit;
            ++pos_;
        }
        return true;
    }

    bool string(std::string& out) {
        ++pos_;  // opening quote
        out.clear();
        for (;;) {
            if (atEnd()) return fail("a string is not closed");
            const char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string");
            if (c != '\\') {
                out += c;
                ++pos_;
                continue;
            }
            ++pos_;
            const char e = peek();
            ++pos_;
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned cp;
                    if (!hex4(cp)) return false;
                    if (cp >= 0xD800 && cp <= 0xDBFF && text_.substr(pos_, 2) == "\\u") {
                        pos_ += 2;
                        unsigned low;
                        if (!hex4(low)) return false;
                        if (low < 0xDC00 || low > 0xDFFF) return fail("broken surrogate pair");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                        return fail("broken surrogate pair");
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default: --pos_; return fail("unknown escape in a string");
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

}  // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
    if (kind != Kind::Object) return nullptr;
    for (std::size_t i = 0; i < keys.size() && i < items.size(); ++i)
        if (keys[i] == key) return &items[i];
    return nullptr;
}

const char* jsonKindName(JsonValue::Kind kind) {
    switch (kind) {
        case JsonValue::Kind::Null: return "null";
        case JsonValue::Kind::Bool: return "true or false";
        case JsonValue::Kind::Number: return "a number";
        case JsonValue::Kind::String: return "a string";
        case JsonValue::Kind::Array: return "a list";
        case JsonValue::Kind::Object: return "an object";
    }
    return "a value";
}

bool parseJson(std::string_view text, JsonValue& out, std::string& error) {
    Parser parser(text);
    out = JsonValue{};
    if (parser.document(out)) return true;
    error = parser.error();
    out = JsonValue{};
    return false;
}

}  // namespace pelvaron::cli
