// A registry that passes every call to a real one, counts opened and closed
// keys, and fails the calls a test chooses: as a user without write access or
// with a broken store would see them.
#pragma once

#include <functional>
#include <string>

#include "platform/registry/Registry.h"

namespace orv::test {

class FaultyRegistry : public reg::Registry {
public:
    explicit FaultyRegistry(reg::Registry& inner) : m_inner(inner) {}

    // Each returns true for a call that is to fail.
    std::function<bool(const std::string& path)> failCreate = [](const std::string&) { return false; };
    std::function<bool(const std::string& path, std::string_view name)> failSet =
        [](const std::string&, std::string_view) { return false; };

    int opened = 0;
    int closed = 0;

    reg::Status CreateKey(const reg::Key& parent, std::string_view subKey, reg::Key* result) override {
        std::string full = parent.path;
        if (!full.empty() && !subKey.empty()) full += '\\';
        full += subKey;
        if (failCreate(full)) return reg::Status::WriteFailed;
        const reg::Status s = m_inner.CreateKey(parent, subKey, result);
        if (s == reg::Status::Ok) ++opened;
        return s;
    }
    reg::Status OpenKey(const reg::Key& parent, std::string_view subKey, reg::Key* result) override {
        const reg::Status s = m_inner.OpenKey(parent, subKey, result);
        if (s == reg::Status::Ok) ++opened;
        return s;
    }
    reg::Status QueryValue(const reg::Key& key, std::string_view name, uint32_t* type, uint8_t* data,
                           uint32_t* size) override {
        return m_inner.QueryValue(key, name, type, data, size);
    }
    reg::Status SetValue(const reg::Key& key, std::string_view name, uint32_t type, const uint8_t* data,
                         uint32_t size) override {
        if (failSet(key.path, name)) return reg::Status::WriteFailed;
        return m_inner.SetValue(key, name, type, data, size);
    }
    reg::Status DeleteValue(const reg::Key& key, std::string_view name) override {
        return m_inner.DeleteValue(key, name);
    }
    reg::Status CloseKey(const reg::Key& key) override {
        ++closed;
        return m_inner.CloseKey(key);
    }

private:
    reg::Registry& m_inner;
};

}  // namespace orv::test
