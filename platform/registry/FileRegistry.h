// The registry kept in two hive files: HKEY_CURRENT_USER in
// $XDG_CONFIG_HOME/TessalyCAD/user.reg and HKEY_CLASSES_ROOT in
// $XDG_DATA_HOME/TessalyCAD/classes.reg (defaults ~/.config and
// ~/.local/share).
#pragma once

#include <memory>
#include <string>

#include "HiveFile.h"
#include "Registry.h"

namespace orv::reg {

class FileRegistry : public Registry {
public:
    FileRegistry(std::string currentUserFile, std::string classesRootFile);
    static std::unique_ptr<FileRegistry> FromEnvironment();

    Status CreateKey(const Key& parent, std::string_view subKey, Key* result) override;
    Status OpenKey(const Key& parent, std::string_view subKey, Key* result) override;
    Status QueryValue(const Key& key, std::string_view name, uint32_t* type, uint8_t* data,
                      uint32_t* size) override;
    Status SetValue(const Key& key, std::string_view name, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
    Status DeleteValue(const Key& key, std::string_view name) override;
    Status CloseKey(const Key& key) override;

    HiveFile& FileOf(Root root) { return root == Root::CurrentUser ? m_currentUser : m_classesRoot; }

private:
    HiveFile m_currentUser;
    HiveFile m_classesRoot;
};

// The folder of the program's files below an XDG base directory: the value of
// variable when it is an absolute path, else $HOME/fallback; "TessalyCAD" is
// appended.
std::string XdgFolder(const char* variable, const char* fallback);

}  // namespace orv::reg
