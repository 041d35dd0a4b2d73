#include "CMSettingsStore.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/registry/Utf16.h"

using orv::reg::Key;
using orv::reg::Status;

namespace {

constexpr std::string_view kSettingsKey = "Software\\TessalyCAD";
constexpr std::string_view kSubKey = "Orvalen\\Settings";

Key& RootStorage() {
    static Key root = orv::reg::CurrentUserRoot();
    return root;
}

bool IsCurrentUserRoot(const Key& key) {
    return key.root == orv::reg::Root::CurrentUser && key.path.empty();
}

}  // namespace

CMSettingsStore::CMSettingsStore() : m_registry(orv::reg::CurrentRegistry()) {
    Key opened;
    if (m_registry.CreateKey(orv::reg::CurrentUserRoot(), kSettingsKey, &opened) == Status::Ok) {
        Key& root = RootStorage();
        if (!IsCurrentUserRoot(root)) m_registry.CloseKey(root);
        root = opened;
    }
}

const Key& CMSettingsStore::SettingsRoot() { return RootStorage(); }

void CMSettingsStore::ResetSettingsRoot() { RootStorage() = orv::reg::CurrentUserRoot(); }

bool CMSettingsStore::ReadValue(std::string_view name, std::string* bytes) {
    Key key;
    if (m_registry.OpenKey(RootStorage(), kSubKey, &key) != Status::Ok) return false;
    uint32_t size = 0;
    bool ok = m_registry.QueryValue(key, name, nullptr, nullptr, &size) == Status::Ok;
    if (ok) {
        bytes->assign(size, '\0');
        ok = m_registry.QueryValue(key, name, nullptr, reinterpret_cast<uint8_t*>(bytes->data()),
                                   &size) == Status::Ok;
        bytes->resize(size);
    }
    m_registry.CloseKey(key);
    return ok;
}

bool CMSettingsStore::WriteDefault(std::string_view name, uint32_t type, const std::string& bytes) {
    Key key;
    if (m_registry.CreateKey(RootStorage(), kSubKey, &key) != Status::Ok) return false;
    m_registry.SetValue(key, name, type, reinterpret_cast<const uint8_t*>(bytes.data()),
                        static_cast<uint32_t>(bytes.size()));
    m_registry.CloseKey(key);
    return true;
}

uint32_t CMSettingsStore::GetDword(std::string_view name, uint32_t defaultValue) {
    std::string bytes;
    // A value shorter than four bytes is no whole number: it is read as
    // missing, and the default takes its place.
    if (ReadValue(name, &bytes) && bytes.size() >= 4) {
        const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    }
    const std::string stored{static_cast<char>(defaultValue), static_cast<char>(defaultValue >> 8),
                             static_cast<char>(defaultValue >> 16), static_cast<char>(defaultValue >> 24)};
    WriteDefault(name, orv::reg::kDword, stored);
    return defaultValue;
}

std::u16string CMSettingsStore::GetStringReached(std::string_view name, const std::u16string& defaultValue,
                                                 bool* reached) {
    std::string bytes;
    if (ReadValue(name, &bytes)) {
        *reached = true;
        return orv::reg::StringValueText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::string stored;
    for (char16_t unit : defaultValue) {
        stored.push_back(static_cast<char>(unit & 0xFF));
        stored.push_back(static_cast<char>(unit >> 8));
    }
    stored.append(2, '\0');
    *reached = WriteDefault(name, orv::reg::kString, stored);
    return defaultValue;
}

std::u16string CMSettingsStore::GetString(std::string_view name, const std::u16string& defaultValue) {
    bool reached = false;
    return GetStringReached(name, defaultValue, &reached);
}

double CMSettingsStore::GetDouble(std::string_view name, double defaultValue) {
    const std::string formatted = FormatSettingsDouble(defaultValue);
    const std::u16string formattedWide(formatted.begin(), formatted.end());
    bool reached = false;
    std::u16string text = GetStringReached(name, formattedWide, &reached);
    if (!reached) return defaultValue;
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t unit : text) {
        // A decimal comma is read as a point; anything outside ASCII ends the
        // number anyway.
        narrow.push_back(unit == u',' ? '.' : unit < 0x80 ? static_cast<char>(unit) : '\x7f');
    }
    return ParseSettingsDouble(narrow);
}

std::string FormatSettingsDouble(double value) {
    // to_chars never consults the locale, unlike printf.
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 10);
    if (result.ec != std::errc()) return "0.0000000000";
    return std::string(buf, result.ptr);
}

double ParseSettingsDouble(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    auto digits = [&] {
        const size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
        return i - from;
    };
    size_t count = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        count += digits();
    }
    if (count == 0) return 0.0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            i = j;
            digits();
        }
    }
    // The prefix is known to be a plain decimal number; strtod in the C
    // locale reads it with correct rounding, overflow and underflow.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string number(text.substr(start, i - start));
    return strtod_l(number.c_str(), nullptr, cLocale);
}
