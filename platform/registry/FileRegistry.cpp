#include "FileRegistry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace orv::reg {
namespace {

const char* RootName(Root root) {
    return root == Root::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_CLASSES_ROOT";
}

bool ValidValueName(std::string_view name) {
    if (name.size() > 16383) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/tmp";
}

Registry* g_current = nullptr;

}  // namespace

std::string XdgFolder(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    // Relative paths in these variables are to be ignored, as the XDG base
    // directory rules say.
    std::string base = (value && value[0] == '/') ? std::string(value) : HomeFolder() + "/" + fallback;
    return base + "/TessalyCAD";
}

FileRegistry::FileRegistry(std::string currentUserFile, std::string classesRootFile)
    : m_currentUser(std::move(currentUserFile), RootName(Root::CurrentUser)),
      m_classesRoot(std::move(classesRootFile), RootName(Root::ClassesRoot)) {}

std::unique_ptr<FileRegistry> FileRegistry::FromEnvironment() {
    return std::make_unique<FileRegistry>(XdgFolder("XDG_CONFIG_HOME", ".config") + "/user.reg",
                                          XdgFolder("XDG_DATA_HOME", ".local/share") + "/classes.reg");
}

Status FileRegistry::CreateKey(const Key& parent, std::string_view subKey, Key* result) {
    std::string path;
    if (!JoinKeyPath(parent.path, subKey, &path)) return Status::InvalidParameter;
    HiveFile& file = FileOf(parent.root);
    if (!file.Read().FindKey(path)) {
        const bool ok = file.Update([&](Hive& hive) {
            if (hive.FindKey(path)) return false;
            hive.CreateKey(path);
            return true;
        });
        if (!ok) return Status::WriteFailed;
    }
    // Keep the spelling the key was first created with.
    const HiveKey* key = file.Read().FindKey(path);
    *result = Key{parent.root, key ? key->path : path};
    return Status::Ok;
}

Status FileRegistry::OpenKey(const Key& parent, std::string_view subKey, Key* result) {
    std::string path;
    if (!JoinKeyPath(parent.path, subKey, &path)) return Status::InvalidParameter;
    const HiveKey* key = FileOf(parent.root).Read().FindKey(path);
    if (!key) {
        // The root always exists, even in an empty hive.
        if (!path.empty()) return Status::NotFound;
        *result = Key{parent.root, {}};
        return Status::Ok;
    }
    *result = Key{parent.root, key->path};
    return Status::Ok;
}

Status FileRegistry::QueryValue(const Key& key, std::string_view name, uint32_t* type, uint8_t* data,
                                uint32_t* size) {
    if (!size) return Status::InvalidParameter;
    const HiveKey* hiveKey = FileOf(key.root).Read().FindKey(key.path);
    if (!hiveKey) return Status::NotFound;
    const HiveValue* value = Hive::FindValue(*hiveKey, name);
    if (!value) return Status::NotFound;
    if (value->data.size() > UINT32_MAX) return Status::InvalidParameter;
    const auto needed = static_cast<uint32_t>(value->data.size());
    if (type) *type = value->type;
    if (!data) {
        *size = needed;
        return Status::Ok;
    }
    if (*size < needed) {
        *size = needed;
        return Status::MoreData;
    }
    if (needed) std::memcpy(data, value->data.data(), needed);
    *size = needed;
    return Status::Ok;
}

Status FileRegistry::SetValue(const Key& key, std::string_view name, uint32_t type, const uint8_t* data,
                              uint32_t size) {
    if (!ValidValueName(name) || (size && !data)) return Status::InvalidParameter;
    bool keyExists = true;
    const bool ok = FileOf(key.root).Update([&](Hive& hive) {
        HiveKey* target = hive.FindKey(key.path);
        if (!target) {
            if (!key.path.empty()) {
                keyExists = false;  // deleted by someone else since it was opened
                return false;
            }
            target = &hive.CreateKey({});
        }
        Hive::SetValue(*target, name, type, std::vector<uint8_t>(data, data + size));
        return true;
    });
    if (!keyExists) return Status::NotFound;
    return ok ? Status::Ok : Status::WriteFailed;
}

Status FileRegistry::DeleteValue(const Key& key, std::string_view name) {
    HiveFile& file = FileOf(key.root);
    const HiveKey* present = file.Read().FindKey(key.path);
    if (!present || !Hive::FindValue(*present, name)) return Status::NotFound;
    bool found = false;
    const bool ok = file.Update([&](Hive& hive) {
        HiveKey* target = hive.FindKey(key.path);
        found = target && Hive::DeleteValue(*target, name);
        return found;
    });
    if (!ok) return Status::WriteFailed;
    return found ? Status::Ok : Status::NotFound;
}

Status FileRegistry::CloseKey(const Key&) { return Status::Ok; }

Registry& CurrentRegistry() {
    if (!g_current) {
        static std::unique_ptr<FileRegistry> files = FileRegistry::FromEnvironment();
        g_current = files.get();
    }
    return *g_current;
}

ScopedRegistry::ScopedRegistry(Registry& registry) : m_previous(&CurrentRegistry()) {
    g_current = &registry;
}

ScopedRegistry::~ScopedRegistry() { g_current = m_previous; }

}  // namespace orv::reg
