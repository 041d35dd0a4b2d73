#include "ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

FileByteSource::~FileByteSource() { Close(); }

bool FileByteSource::Open(const std::string& path) {
    Close();
    m_fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return false;
    struct stat st;
    if (fstat(m_fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        Close();
        return false;
    }
    m_position = 0;
    return true;
}

void FileByteSource::Close() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

size_t FileByteSource::Read(void* buffer, size_t count) {
    size_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        const ssize_t n = read(m_fd, out + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ReadError();
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    m_position += done;
    return done;
}

uint64_t FileByteSource::Remaining() {
    struct stat st;
    if (fstat(m_fd, &st) != 0) throw ReadError();
    const auto size = static_cast<uint64_t>(st.st_size);
    return size > m_position ? size - m_position : 0;
}

size_t MemoryByteSource::Read(void* buffer, size_t count) {
    const size_t n = std::min(count, m_size - m_position);
    if (n) std::memcpy(buffer, m_data + m_position, n);
    m_position += n;
    return n;
}
