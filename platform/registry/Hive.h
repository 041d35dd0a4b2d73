// One registry root held in memory: its keys in the order they were first
// created, each with its values in the order they were first written. Key and
// value names compare without regard to ASCII letter case, as the registry's
// names do, and keep the spelling they were created with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::reg {

struct HiveValue {
    std::string name;  // "" is the key's default value
    uint32_t type = 0;
    std::vector<uint8_t> data;
    bool operator==(const HiveValue&) const = default;
};

struct HiveKey {
    std::string path;  // below the root, components joined by '\'; "" is the root
    std::vector<HiveValue> values;
    bool operator==(const HiveKey&) const = default;
};

class Hive {
public:
    const std::vector<HiveKey>& Keys() const { return m_keys; }

    const HiveKey* FindKey(std::string_view path) const;
    HiveKey* FindKey(std::string_view path);
    // Creates the key and every missing parent; returns the key.
    HiveKey& CreateKey(std::string_view path);

    static const HiveValue* FindValue(const HiveKey& key, std::string_view name);
    static void SetValue(HiveKey& key, std::string_view name, uint32_t type,
                         std::vector<uint8_t> data);
    // False when there was no such value.
    static bool DeleteValue(HiveKey& key, std::string_view name);

    bool operator==(const Hive&) const = default;

private:
    std::vector<HiveKey> m_keys;
};

bool NamesEqual(std::string_view a, std::string_view b);

// Joins parent and sub-key into one normalised path. Fails for a sub-key that
// begins with a backslash, has an empty component in the middle, a component
// longer than 255 bytes or a control character; a trailing backslash is
// dropped.
bool JoinKeyPath(std::string_view parent, std::string_view subKey, std::string* result);

}  // namespace orv::reg
