// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MiniJson.h"

#include <cctype>

namespace versemark::testing {

namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        auto value = Value();
        SkipSpace();
        if (!value || pos_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

  private:
    std::optional<JsonValue> Value() {
        SkipSpace();
        if (pos_ >= text_.size()) {
            return std::nullopt;
        }
        switch (text_[pos_]) {
            case '{':
                return Object();
            case '[':
                return Array();
            case '"': {
                auto text = String();
                return text ? std::optional<JsonValue>(JsonValue{*text}) : std::nullopt;
            }
            case 't':
                return Literal("true", JsonValue{true});
            case 'f':
                return Literal("false", JsonValue{false});
            case 'n':
                return Literal("null", JsonValue{nullptr});
            default:
                return Number();
        }
    }

    std::optional<JsonValue> Object() {
        ++pos_;
        JsonObject object;
        SkipSpace();
        if (Take('}')) {
            return JsonValue{object};
        }
        while (true) {
            SkipSpace();
            auto key = String();
            SkipSpace();
            if (!key || !Take(':')) {
                return std::nullopt;
            }
            auto value = Value();
            if (!value || object.count(*key) != 0) {
                return std::nullopt;
            }
            object.emplace(*key, std::move(*value));
            SkipSpace();
            if (Take('}')) {
                return JsonValue{object};
            }
            if (!Take(',')) {
                return std::nullopt;
            }
        }
    }

    std::optional<JsonValue> Array() {
        ++pos_;
        JsonArray array;
        SkipSpace();
        if (Take(']')) {
            return JsonValue{array};
        }
        while (true) {
            auto value = Value();
            if (!value) {
                return std::nullopt;
            }
            array.push_back(std::move(*value));
            SkipSpace();
            if (Take(']')) {
                return JsonValue{array};
            }
            if (!Take(',')) {
                return std::nullopt;
            }
        }
    }

    std::optional<std::string> String() {
        if (!Take('"')) {
            return std::nullopt;
        }
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return std::nullopt;  // control characters must be escaped
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            const char escape = text_[pos_++];
            switch (escape) {
                case '"':
                case '\\':
                case '/':
                    out += escape;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    auto code = Hex4();
                    if (!code || *code >= 0xD800) {
                        return std::nullopt;  // surrogates are not needed here
                    }
                    AppendUtf8(out, *code);
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<unsigned> Hex4() {
        if (text_.size() - pos_ < 4) {
            return std::nullopt;
        }
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<unsigned>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::optional<JsonValue> Number() {
        const std::size_t start = pos_;
        Take('-');
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
        const std::string digits(text_.substr(start, pos_ - start));
        if (digits.empty() || digits == "-") {
            return std::nullopt;
        }
        return JsonValue{static_cast<std::int64_t>(std::stoll(digits))};
    }

    std::optional<JsonValue> Literal(std::string_view word, JsonValue value) {
        if (text_.substr(pos_, word.size()) != word) {
            return std::nullopt;
        }
        pos_ += word.size();
        return value;
    }

    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }

    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

}  // namespace versemark::testing
