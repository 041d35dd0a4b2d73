// The recent-file list: at most a given number of paths, most recent first,
// kept in the registry as File1, File2, ... under a key of the profile.
#pragma once

#include <string>
#include <vector>

#include "platform/registry/Registry.h"

namespace framework {

class RecentFileList {
public:
    // keyPath below HKEY_CURRENT_USER, e.g.
    // "Software\\TessalyCAD\\orvalen\\Recent File List".
    RecentFileList(std::string keyPath, size_t size);

    void Load();
    // Writes File1..FileN; values beyond the list are removed. Failures
    // leave the program working.
    void Save() const;

    void Add(const std::string& path);
    void Remove(size_t index);
    const std::vector<std::string>& Entries() const { return m_entries; }
    size_t Size() const { return m_size; }

private:
    std::string m_keyPath;
    size_t m_size;
    std::vector<std::string> m_entries;
};

}  // namespace framework
