#include "HiveText.h"

#include <cstdio>

#include "Registry.h"
#include "Utf16.h"

namespace orv::reg {
namespace {

constexpr size_t kWrapColumn = 76;

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// The value's text when it can be written as a quoted string without losing
// a byte, or nothing.
bool StringForm(const HiveValue& value, std::string* text) {
    if (value.type != kString) return false;
    const auto& d = value.data;
    if (d.size() < 2 || d.size() % 2 != 0) return false;
    const std::u16string units = BytesToUtf16(d.data(), d.size());
    if (units.back() != u'\0') return false;
    const std::u16string_view body(units.data(), units.size() - 1);
    for (size_t i = 0; i < body.size(); ++i) {
        const char16_t u = body[i];
        if (u < 0x20 || u == 0x7F) return false;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= body.size() || body[i + 1] < 0xDC00 || body[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    *text = Utf16ToUtf8(body);
    return true;
}

void AppendValue(std::string& out, const HiveValue& value) {
    std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
    std::string text;
    if (StringForm(value, &text)) {
        out += line + Quote(text) + "\n";
        return;
    }
    if (value.type == kDword && value.data.size() == 4) {
        char buf[16];
        const uint32_t v = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                           (static_cast<uint32_t>(value.data[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x", v);
        out += line + buf + "\n";
        return;
    }
    if (value.type == kBinary) {
        line += "hex:";
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        line += buf;
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02x", value.data[i]);
        line += buf;
        if (i + 1 < value.data.size()) {
            line += ',';
            if (line.size() >= kWrapColumn) {
                out += line + "\\\n";
                line = "  ";
            }
        }
    }
    out += line + "\n";
}

// ---- parsing ----

struct Cursor {
    std::string_view text;
    size_t pos = 0;
    bool AtEnd() const { return pos >= text.size(); }
    char Peek() const { return text[pos]; }
    bool Consume(std::string_view word) {
        if (text.substr(pos, word.size()) != word) return false;
        pos += word.size();
        return true;
    }
};

bool ParseQuoted(Cursor& c, std::string* out) {
    if (c.AtEnd() || c.Peek() != '"') return false;
    ++c.pos;
    out->clear();
    while (!c.AtEnd()) {
        char ch = c.text[c.pos++];
        if (ch == '"') return true;
        if (ch == '\\') {
            if (c.AtEnd()) return false;
            ch = c.text[c.pos++];
            if (ch != '\\' && ch != '"') return false;
        }
        out->push_back(ch);
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHexBytes(std::string_view s, std::vector<uint8_t>* out) {
    out->clear();
    size_t i = 0;
    auto skipSpace = [&] { while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i; };
    skipSpace();
    if (i == s.size()) return true;
    for (;;) {
        skipSpace();
        if (i + 2 > s.size()) return false;
        const int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out->push_back(static_cast<uint8_t>(hi * 16 + lo));
        i += 2;
        skipSpace();
        if (i == s.size()) return true;
        if (s[i] != ',') return false;
        ++i;
        skipSpace();
        if (i == s.size()) return true;  // a trailing comma
    }
}

bool ParseData(std::string_view s, uint32_t* type, std::vector<uint8_t>* data, std::string* why) {
    Cursor c{s};
    if (!c.AtEnd() && c.Peek() == '"') {
        std::string text;
        if (!ParseQuoted(c, &text) || !c.AtEnd()) { *why = "bad quoted string"; return false; }
        if (!Utf8ToUtf16Exact(text)) { *why = "string is not UTF-8"; return false; }
        *type = kString;
        *data = Utf8ToUtf16Bytes(text, true);
        return true;
    }
    if (c.Consume("dword:")) {
        const std::string_view digits = s.substr(c.pos);
        if (digits.size() != 8) { *why = "dword needs eight hex digits"; return false; }
        uint32_t v = 0;
        for (char ch : digits) {
            const int d = HexDigit(ch);
            if (d < 0) { *why = "bad hex digit in dword"; return false; }
            v = v * 16 + static_cast<uint32_t>(d);
        }
        *type = kDword;
        *data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                 static_cast<uint8_t>(v >> 24)};
        return true;
    }
    if (c.Consume("hex:")) {
        *type = kBinary;
    } else if (c.Consume("hex(")) {
        uint32_t t = 0;
        size_t digits = 0;
        while (!c.AtEnd() && HexDigit(c.Peek()) >= 0) {
            if (++digits > 8) { *why = "type number too long"; return false; }
            t = t * 16 + static_cast<uint32_t>(HexDigit(c.text[c.pos++]));
        }
        if (digits == 0 || !c.Consume("):")) { *why = "bad hex(type)"; return false; }
        *type = t;
    } else {
        *why = "unknown value form";
        return false;
    }
    if (!ParseHexBytes(s.substr(c.pos), data)) { *why = "bad hex bytes"; return false; }
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string SerializeHive(const Hive& hive, std::string_view rootName) {
    std::string out = "; Orvalen registry hive\n\n";
    for (const HiveKey& key : hive.Keys()) {
        out += '[';
        out += rootName;
        if (!key.path.empty()) out += '\\' + key.path;
        out += "]\n";
        for (const HiveValue& value : key.values) AppendValue(out, value);
        out += '\n';
    }
    return out;
}

bool ParseHive(std::string_view text, std::string_view rootName, Hive* hive, std::string* error) {
    *hive = Hive{};
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    HiveKey* current = nullptr;
    size_t lineNo = 0;
    size_t pos = 0;
    auto nextLine = [&](std::string_view* line) {
        if (pos >= text.size()) return false;
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        *line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        return true;
    };
    auto fail = [&](const std::string& why) {
        *error = "line " + std::to_string(lineNo) + ": " + why;
        *hive = Hive{};
        return false;
    };

    std::string_view raw;
    while (nextLine(&raw)) {
        std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail("key line without ']'");
            std::string_view name = line.substr(1, line.size() - 2);
            if (name.size() < rootName.size() || !NamesEqual(name.substr(0, rootName.size()), rootName))
                return fail("key outside " + std::string(rootName));
            name.remove_prefix(rootName.size());
            if (!name.empty()) {
                if (name.front() != '\\') return fail("key outside " + std::string(rootName));
                name.remove_prefix(1);
            }
            std::string path;
            if (!JoinKeyPath("", name, &path)) return fail("bad key path");
            current = &hive->CreateKey(path);
            continue;
        }
        if (!current) return fail("value before any key");

        Cursor c{line};
        std::string name;
        if (c.Consume("@")) {
            name.clear();
        } else if (!ParseQuoted(c, &name)) {
            return fail("bad value name");
        }
        if (!c.Consume("=")) return fail("missing '='");
        std::string data(line.substr(c.pos));
        // Hex data may continue on the next lines after a trailing backslash.
        while (data.starts_with("hex") && data.back() == '\\') {
            data.pop_back();
            std::string_view more;
            if (!nextLine(&more)) return fail("continuation at end of file");
            data += Trim(more);
        }
        uint32_t type = 0;
        std::vector<uint8_t> bytes;
        std::string why;
        if (!ParseData(data, &type, &bytes, &why)) return fail(why);
        Hive::SetValue(*current, name, type, std::move(bytes));
    }
    return true;
}

}  // namespace orv::reg
