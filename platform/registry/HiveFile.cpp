#include "HiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "HiveText.h"

namespace orv::reg {
namespace {

// A hive is a handful of settings; anything this large is not one of ours.
constexpr off_t kMaxHiveFileSize = 64 << 20;

bool MakeDirectories(const std::string& dir) {
    if (dir.empty()) return true;
    struct stat st;
    if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(dir.substr(0, slash))) return false;
    return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

long long MtimeNs(const struct stat& st) {
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// Holds an exclusive lock on the companion lock file. The data file itself is
// replaced by rename, so it cannot carry the lock.
class FileLock {
public:
    explicit FileLock(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) return;
        while (flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (m_fd >= 0) close(m_fd);  // closing releases the lock
    }
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace

HiveFile::HiveFile(std::string path, std::string rootName)
    : m_path(std::move(path)), m_rootName(std::move(rootName)) {}

HiveFile::LoadResult HiveFile::Load(Hive* hive) {
    *hive = Hive{};
    const int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxHiveFileSize) {
        close(fd);
        return LoadResult::Corrupt;
    }
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return LoadResult::Unreadable;
        }
        if (n == 0) break;
        text.append(buf, static_cast<size_t>(n));
        if (text.size() > static_cast<size_t>(kMaxHiveFileSize)) {
            close(fd);
            return LoadResult::Corrupt;
        }
    }
    m_cachedInode = st.st_ino;
    m_cachedSize = st.st_size;
    m_cachedMtimeNs = MtimeNs(st);
    close(fd);
    std::string error;
    return ParseHive(text, m_rootName, hive, &error) ? LoadResult::Ok : LoadResult::Corrupt;
}

const Hive& HiveFile::Read() {
    struct stat st;
    if (stat(m_path.c_str(), &st) != 0) {
        m_cached = Hive{};
        m_cacheValid = false;
        return m_cached;
    }
    if (m_cacheValid && st.st_ino == m_cachedInode && st.st_size == m_cachedSize &&
        MtimeNs(st) == m_cachedMtimeNs) {
        return m_cached;
    }
    m_cacheValid = Load(&m_cached) == LoadResult::Ok;
    return m_cached;
}

bool HiveFile::KeepCorruptFileAside() {
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = m_path + ".corrupt-" + std::to_string(n);
        // link() refuses an existing name, so an earlier kept file is never
        // overwritten; the lock keeps other instances of ours out meanwhile.
        if (link(m_path.c_str(), aside.c_str()) == 0) return unlink(m_path.c_str()) == 0;
        if (errno != EEXIST) return rename(m_path.c_str(), aside.c_str()) == 0;
    }
    return false;
}

bool HiveFile::WriteReplacing(const Hive& hive) {
    const std::string text = SerializeHive(hive, m_rootName);
    std::string temp = m_path + ".tmp-XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text) && fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temp.c_str(), m_path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int dirFd = open(DirectoryOf(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

bool HiveFile::Update(const std::function<bool(Hive&)>& change) {
    if (!MakeDirectories(DirectoryOf(m_path))) return false;
    FileLock lock(m_path + ".lock");
    if (!lock.Held()) return false;

    Hive hive;
    switch (Load(&hive)) {
        case LoadResult::Ok:
        case LoadResult::Missing:
            break;
        case LoadResult::Corrupt:
            if (!KeepCorruptFileAside()) return false;
            break;
        case LoadResult::Unreadable:
            return false;
    }
    if (!change(hive)) return true;
    if (!WriteReplacing(hive)) return false;

    struct stat st;
    if (stat(m_path.c_str(), &st) == 0) {
        m_cached = std::move(hive);
        m_cachedInode = st.st_ino;
        m_cachedSize = st.st_size;
        m_cachedMtimeNs = MtimeNs(st);
        m_cacheValid = true;
    } else {
        m_cacheValid = false;
    }
    return true;
}

}  // namespace orv::reg
