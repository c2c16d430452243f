// A small JSON reader for the command-line tool's input files: the whole text into a tree of
// values, with the line and column of the first error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelvaron::cli {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    /// The elements of an Array, or the member values of an Object in file order.
    std::vector<JsonValue> items;
    /// The member names of an Object, matching `items` (parallel lists: a pair would need the
    /// complete type).
    std::vector<std::string> keys;

    /// The member named `key`, or null when absent (or when this is not an object).
    [[nodiscard]] const JsonValue* find(std::string_view key) const;
};

/// Kind names for messages: "null", "true or false", "a number", "a string", "a list", "an object".
[[nodiscard]] const char* jsonKindName(JsonValue::Kind kind);

/// Parses one JSON document (RFC 8259: objects, arrays, numbers, strings with escapes, true,
/// false, null; nothing but white space after it). Nesting deeper than 64 levels and duplicate
/// keys are refused. On failure `error` says what and where ("line L, column C: ...").
[[nodiscard]] bool parseJson(std::string_view text, JsonValue& out, std::string& error);

}  // namespace pelvaron::cli
