#include "PixelBuffer.h"

#include <sys/mman.h>

#include <new>

namespace orv::image {
namespace {

constexpr size_t kMapThreshold = size_t{4} << 20;

}  // namespace

PixelBuffer& PixelBuffer::operator=(PixelBuffer&& other) noexcept {
    if (this != &other) {
        Reset();
        m_data = other.m_data;
        m_size = other.m_size;
        m_mapped = other.m_mapped;
        other.m_data = nullptr;
        other.m_size = 0;
    }
    return *this;
}

bool PixelBuffer::Allocate(size_t size) {
    Reset();
    if (size >= kMapThreshold) {
        void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return false;
        madvise(p, size, MADV_HUGEPAGE);  // a hint; without huge pages it still works
        m_data = static_cast<uint8_t*>(p);
        m_mapped = true;
    } else {
        m_data = new (std::nothrow) uint8_t[size ? size : 1];
        if (!m_data) return false;
        m_mapped = false;
    }
    m_size = size;
    return true;
}

void PixelBuffer::Reset() {
    if (!m_data) return;
    if (m_mapped) munmap(m_data, m_size);
    else delete[] m_data;
    m_data = nullptr;
    m_size = 0;
}

}  // namespace orv::image
