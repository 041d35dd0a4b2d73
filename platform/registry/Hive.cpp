#include "Hive.h"

#include <algorithm>
#include <utility>

namespace orv::reg {

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool JoinKeyPath(std::string_view parent, std::string_view subKey, std::string* result) {
    while (!subKey.empty() && subKey.back() == '\\') subKey.remove_suffix(1);
    if (!subKey.empty()) {
        if (subKey.front() == '\\') return false;
        for (size_t start = 0;;) {
            size_t end = subKey.find('\\', start);
            if (end == std::string_view::npos) end = subKey.size();
            const std::string_view part = subKey.substr(start, end - start);
            if (part.empty() || part.size() > 255) return false;
            for (unsigned char c : part) {
                if (c < 0x20 || c == 0x7F) return false;
            }
            if (end == subKey.size()) break;
            start = end + 1;
        }
    }
    std::string joined(parent);
    if (!joined.empty() && !subKey.empty()) joined += '\\';
    joined += subKey;
    *result = std::move(joined);
    return true;
}

const HiveKey* Hive::FindKey(std::string_view path) const {
    for (const HiveKey& key : m_keys) {
        if (NamesEqual(key.path, path)) return &key;
    }
    return nullptr;
}

HiveKey* Hive::FindKey(std::string_view path) {
    return const_cast<HiveKey*>(std::as_const(*this).FindKey(path));
}

HiveKey& Hive::CreateKey(std::string_view path) {
    if (HiveKey* existing = FindKey(path)) return *existing;
    // Parents first, so that the file lists a key after the keys above it.
    const size_t slash = path.rfind('\\');
    if (slash != std::string_view::npos) CreateKey(path.substr(0, slash));
    m_keys.push_back(HiveKey{std::string(path), {}});
    return m_keys.back();
}

const HiveValue* Hive::FindValue(const HiveKey& key, std::string_view name) {
    for (const HiveValue& value : key.values) {
        if (NamesEqual(value.name, name)) return &value;
    }
    return nullptr;
}

void Hive::SetValue(HiveKey& key, std::string_view name, uint32_t type, std::vector<uint8_t> data) {
    for (HiveValue& value : key.values) {
        if (NamesEqual(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    key.values.push_back(HiveValue{std::string(name), type, std::move(data)});
}

bool Hive::DeleteValue(HiveKey& key, std::string_view name) {
    for (auto it = key.values.begin(); it != key.values.end(); ++it) {
        if (NamesEqual(it->name, name)) {
            key.values.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace orv::reg
