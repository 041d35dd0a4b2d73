// A hive kept in one text file. Reads parse the file again only when it has
// changed on disk. Every write locks the file's companion lock file, re-reads
// the file, applies the change, writes a temporary file, flushes it and
// renames it over the old one, so that two processes writing at once neither
// corrupt the file nor lose each other's values. A file that does not parse is
// renamed aside (name.corrupt-N) before a write replaces it; until then reads
// see an empty hive.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "Hive.h"

namespace orv::reg {

class HiveFile {
public:
    HiveFile(std::string path, std::string rootName);

    // The hive as the file holds it now; empty when the file is missing or
    // does not parse.
    const Hive& Read();

    // Applies change under the lock; change returns false when it changed
    // nothing, and then nothing is written. False when the file could not be
    // written.
    bool Update(const std::function<bool(Hive&)>& change);

    const std::string& Path() const { return m_path; }

private:
    enum class LoadResult { Ok, Missing, Corrupt, Unreadable };
    LoadResult Load(Hive* hive);
    bool WriteReplacing(const Hive& hive);
    bool KeepCorruptFileAside();

    std::string m_path;
    std::string m_rootName;
    Hive m_cached;
    bool m_cacheValid = false;
    ino_t m_cachedInode = 0;
    off_t m_cachedSize = -1;
    long long m_cachedMtimeNs = -1;
};

}  // namespace orv::reg
