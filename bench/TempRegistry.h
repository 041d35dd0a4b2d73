// A private settings hive for a benchmark's lifetime, so that benchmarks
// never touch the user's own settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/registry/FileRegistry.h"

namespace orv::bench {

class TempRegistry {
public:
    TempRegistry() {
        char dir[] = "/tmp/orvalen-bench-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        m_dir = dir;
        m_files = std::make_unique<reg::FileRegistry>(m_dir + "/user.reg", m_dir + "/classes.reg");
        m_scope = std::make_unique<reg::ScopedRegistry>(*m_files);
    }
    ~TempRegistry() {
        m_scope.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    const std::string& Dir() const { return m_dir; }
    reg::FileRegistry& Files() { return *m_files; }
    void SetMipmaps(bool on) {
        reg::Key key;
        m_files->CreateKey(reg::CurrentUserRoot(), "Software\\TessalyCAD\\Orvalen\\Settings", &key);
        const uint32_t value = on ? 1 : 0;
        m_files->SetValue(key, "EnableMipmaps", reg::kDword, reinterpret_cast<const uint8_t*>(&value), 4);
    }

private:
    std::string m_dir;
    std::unique_ptr<reg::FileRegistry> m_files;
    std::unique_ptr<reg::ScopedRegistry> m_scope;
};

}  // namespace orv::bench
