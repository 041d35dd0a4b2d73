// What the container readers read from: a position in a sequence of bytes.
// A short read at the end is not an error; a read error raises ReadError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

struct ReadError : std::exception {
    const char* what() const noexcept override { return "read error"; }
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to count bytes from the position into buffer, advances the
    // position by the number copied and returns it; fewer at the end.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // How many bytes lie between the position and the end, as far as known.
    virtual uint64_t Remaining() = 0;
};

// A file opened for reading only; the file is never written.
class FileByteSource : public ByteSource {
public:
    FileByteSource() = default;
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    bool Open(const std::string& path);
    void Close();
    size_t Read(void* buffer, size_t count) override;
    uint64_t Remaining() override;

private:
    int m_fd = -1;
    uint64_t m_position = 0;
};

// Bytes in memory, for tests and tools.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t Read(void* buffer, size_t count) override;
    uint64_t Remaining() override { return m_size - m_position; }
    size_t Position() const { return m_position; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};
