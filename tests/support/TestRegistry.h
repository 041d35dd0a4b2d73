// Gives a test its own hive files in a temporary folder and makes them the
// program's registry, with the settings root as at process start.
#pragma once

#include "TempDir.h"
#include "platform/registry/FileRegistry.h"
#include "settings/CMSettingsStore.h"

namespace orv::test {

class TestRegistry {
public:
    TestRegistry()
        : m_files(m_home.UserHive(), m_home.ClassesHive()), m_scope(m_files) {
        CMSettingsStore::ResetSettingsRoot();
    }
    ~TestRegistry() { CMSettingsStore::ResetSettingsRoot(); }

    reg::FileRegistry& Files() { return m_files; }
    const ScopedXdgHome& Home() const { return m_home; }
    std::string UserHiveText() const { return ReadFile(m_home.UserHive()); }

    // Writes a value straight into HKCU\Software\TessalyCAD\Orvalen\Settings.
    void SetSetting(std::string_view name, uint32_t type, std::vector<uint8_t> bytes) {
        reg::Key key;
        m_files.CreateKey(reg::CurrentUserRoot(), "Software\\TessalyCAD\\Orvalen\\Settings", &key);
        m_files.SetValue(key, name, type, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    void SetDwordSetting(std::string_view name, uint32_t v) {
        SetSetting(name, reg::kDword,
                   {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    }

private:
    ScopedXdgHome m_home;
    reg::FileRegistry m_files;
    reg::ScopedRegistry m_scope;
};

}  // namespace orv::test
