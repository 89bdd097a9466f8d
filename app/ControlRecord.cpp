#include "app/ControlRecord.h"

#include <algorithm>
#include <string>

#include "config/ValueTables.h"

namespace hx {
namespace {

bool NameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_';
}

bool PlainCharacter(unsigned char c) { return c > ' ' && c <= '~' && c != '%' && c != '='; }

}  // namespace

const std::string* ControlRecord::Find(std::string_view name) const {
    for (const auto& [key, value] : fields)
        if (key == name) return &value;
    return nullptr;
}

std::string ControlRecord::Get(std::string_view name, std::string_view fallback) const {
    const std::string* value = Find(name);
    return value != nullptr ? *value : std::string(fallback);
}

ControlRecord& ControlRecord::Set(std::string_view name, std::string_view value) {
    for (auto& [key, old] : fields) {
        if (key == name) {
            old = value;
            return *this;
        }
    }
    fields.emplace_back(std::string(name), std::string(value));
    return *this;
}

ControlRecord& ControlRecord::Set(std::string_view name, long long value) {
    return Set(name, std::to_string(value));
}

bool SecretField(std::string_view name) {
    return name == "passphrase" || name == "wep-key" || name.rfind("WEPKey", 0) == 0 || name == "Dot1xPassphrase" ||
           name == "Dot1xPassword";
}

std::string EscapeControlValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (PlainCharacter(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::optional<std::string> UnescapeControlValue(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = HexDigitValue(text[i + 1]), low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

std::string FormatControlRecord(const ControlRecord& record) {
    std::string line;
    for (const auto& [name, value] : record.fields) {
        if (!line.empty()) line += ' ';
        line += name;
        line += '=';
        line += EscapeControlValue(value);
    }
    return line;
}

std::optional<ControlRecord> ParseControlRecord(std::string_view line) {
    ControlRecord record;
    if (line.empty()) return std::nullopt;
    size_t at = 0;
    while (at <= line.size()) {
        const size_t end = std::min(line.find(' ', at), line.size());
        const std::string_view field = line.substr(at, end - at);
        const size_t equals = field.find('=');
        if (equals == std::string_view::npos || equals == 0) return std::nullopt;
        const std::string_view name = field.substr(0, equals);
        for (const char c : name)
            if (!NameCharacter(c)) return std::nullopt;
        const std::string_view raw = field.substr(equals + 1);
        for (const char c : raw)
            if (c != '%' && !PlainCharacter(static_cast<unsigned char>(c))) return std::nullopt;
        auto value = UnescapeControlValue(raw);
        if (!value) return std::nullopt;
        record.fields.emplace_back(std::string(name), std::move(*value));
        at = end + 1;
    }
    return record;
}

std::string FormatControlMessage(const std::vector<ControlRecord>& records) {
    std::string text;
    for (const ControlRecord& record : records) {
        text += FormatControlRecord(record);
        text += '\n';
    }
    return text;
}

std::optional<std::vector<ControlRecord>> ParseControlMessage(std::string_view text) {
    if (text.empty() || text.back() != '\n') return std::nullopt;
    std::vector<ControlRecord> records;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        auto record = ParseControlRecord(text.substr(at, end - at));
        if (!record) return std::nullopt;
        records.push_back(std::move(*record));
        at = end + 1;
    }
    return records;
}

ControlRecord OkStatus() { return ControlRecord{}.Set("status", "ok"); }

ControlRecord ErrorStatus(int code, std::string_view message) {
    ControlRecord record;
    record.Set("status", "error").Set("code", code).Set("message", message);
    return record;
}

}  // namespace hx
