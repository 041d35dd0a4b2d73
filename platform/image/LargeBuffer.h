// Memory for a decoded image's pixels and for a file's bytes. Large buffers
// come straight from mmap with transparent huge pages requested: a strip of
// 100 MB would otherwise take tens of thousands of page faults while the
// decoder fills it, and reading a 6 MB file into fresh small pages took three
// times as long as into huge ones. The bytes are not initialised; whoever fills the
// buffer writes every one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::image {

class LargeBuffer {
public:
    LargeBuffer() = default;
    ~LargeBuffer() { Reset(); }
    LargeBuffer(LargeBuffer&& other) noexcept : m_data(other.m_data), m_size(other.m_size), m_mapped(other.m_mapped) {
        other.m_data = nullptr;
        other.m_size = 0;
    }
    LargeBuffer& operator=(LargeBuffer&& other) noexcept;
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    // False when the memory cannot be had.
    bool Allocate(size_t size);
    void Reset();

    uint8_t* get() const { return m_data; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
};

}  // namespace orv::image
