// A registry that reads through to another and writes nothing: for tools
// that must leave the user's files alone (the thumbnailer runs in a sandbox,
// often with a read-only home). Settings then give their defaults without
// writing them back.
#pragma once

#include "platform/registry/Registry.h"

namespace orv::reg {

class ReadOnlyRegistry : public Registry {
public:
    explicit ReadOnlyRegistry(Registry& inner) : m_inner(inner) {}

    // Opens the key when it exists; creates nothing.
    Status CreateKey(const Key& parent, std::string_view subKey, Key* result) override {
        return m_inner.OpenKey(parent, subKey, result) == Status::Ok ? Status::Ok : Status::WriteFailed;
    }
    Status OpenKey(const Key& parent, std::string_view subKey, Key* result) override {
        return m_inner.OpenKey(parent, subKey, result);
    }
    Status QueryValue(const Key& key, std::string_view name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override {
        return m_inner.QueryValue(key, name, type, data, size);
    }
    Status SetValue(const Key&, std::string_view, uint32_t, const uint8_t*, uint32_t) override {
        return Status::WriteFailed;
    }
    Status DeleteValue(const Key&, std::string_view) override { return Status::WriteFailed; }
    Status CloseKey(const Key& key) override { return m_inner.CloseKey(key); }

private:
    Registry& m_inner;
};

}  // namespace orv::reg
