// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A small strict JSON reader, enough to check the documents versemark-cli prints:
// a malformed document is rejected rather than guessed at.
namespace versemark::testing {

struct JsonValue;
using JsonObject = std::map<std::string, JsonValue>;
using JsonArray = std::vector<JsonValue>;

struct JsonValue {
    std::variant<std::nullptr_t, bool, std::int64_t, std::string, JsonArray, JsonObject> Value;

    bool IsObject() const { return std::holds_alternative<JsonObject>(Value); }
    const JsonObject& Object() const { return std::get<JsonObject>(Value); }
    const JsonArray& Array() const { return std::get<JsonArray>(Value); }
    const std::string& String() const { return std::get<std::string>(Value); }
    std::int64_t Int() const { return std::get<std::int64_t>(Value); }
    bool Bool() const { return std::get<bool>(Value); }
    // The member `key` of an object; throws when absent.
    const JsonValue& operator[](const std::string& key) const { return Object().at(key); }
};

// The document, or nullopt when `text` is not one JSON value (white space around
// it allowed). Strings are returned as UTF-8 with every escape decoded.
std::optional<JsonValue> ParseJson(std::string_view text);

}  // namespace versemark::testing
