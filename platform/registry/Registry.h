// The per-user and classes registries of the program: keys holding typed
// values, stored in hive files (see FileRegistry). Callers go through the
// abstract Registry so that tests can put a failing or recording registry in
// its place; file permissions never make a write fail for root.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orv::reg {

// Value types, numbered as the classic registry numbers them; any other
// number is kept as it is.
enum ValueType : uint32_t {
    kNone = 0,
    kString = 1,          // UTF-16LE text with its terminating NUL
    kExpandString = 2,
    kBinary = 3,
    kDword = 4,           // four bytes, little-endian
    kDwordBigEndian = 5,
    kLink = 6,
    kMultiString = 7,
    kQword = 11,
};

enum class Status {
    Ok,
    NotFound,          // no such key or value
    MoreData,          // the buffer is smaller than the value; the size is set
    InvalidParameter,  // a malformed key path or value name
    WriteFailed,       // the hive could not be written
};

enum class Root { CurrentUser, ClassesRoot };

// A key as a value: the root and the path below it ("A\\B\\C"). Opening or
// creating a key yields one; closing it releases nothing, but callers still
// close every key they open, so a recording registry can check the pairing.
struct Key {
    Root root = Root::CurrentUser;
    std::string path;  // empty for the root itself
};

inline Key CurrentUserRoot() { return Key{Root::CurrentUser, {}}; }
inline Key ClassesRoot() { return Key{Root::ClassesRoot, {}}; }

class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key subKey below parent, creating it and any missing parents.
    virtual Status CreateKey(const Key& parent, std::string_view subKey, Key* result) = 0;
    // Opens an existing key; NotFound when it does not exist.
    virtual Status OpenKey(const Key& parent, std::string_view subKey, Key* result) = 0;
    // Reads a value ("" is the key's default value). With data null, only
    // *size is set. With a buffer smaller than the value, *size is set to the
    // value's size and MoreData returned. The stored type goes to *type when
    // type is not null.
    virtual Status QueryValue(const Key& key, std::string_view name, uint32_t* type,
                              uint8_t* data, uint32_t* size) = 0;
    // Writes a value with its type and exact bytes.
    virtual Status SetValue(const Key& key, std::string_view name, uint32_t type,
                            const uint8_t* data, uint32_t size) = 0;
    // Removes a value; NotFound when there is none.
    virtual Status DeleteValue(const Key& key, std::string_view name) = 0;
    virtual Status CloseKey(const Key& key) = 0;
};

// The registry the program uses: the hive files under the XDG folders, made on
// first use. Tests install their own with ScopedRegistry.
Registry& CurrentRegistry();

// Puts a registry in place of the current one for the lifetime of the object.
class ScopedRegistry {
public:
    explicit ScopedRegistry(Registry& registry);
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    Registry* m_previous;
};

}  // namespace orv::reg
