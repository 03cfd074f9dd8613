#pragma once
// A growable byte queue: bytes are written at one end and read (consumed) at
// the other. Used for the socket's send queue and line buffer and for a
// message's in-memory data. Capacity rules are fixed because callers rely on
// them: 4096 bytes to start, at most 1 MiB per reservation, at most 10 MiB in
// all, and a reservation never fills the block to its last byte. The block
// grows by at least the request plus 32 KiB and at least doubles (up to the
// cap), so filling it costs time linear in the bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace component::transport {

class Buffer {
public:
    static constexpr std::uint32_t kInitialCapacity = 4096;
    static constexpr std::uint32_t kMaxReserve = 1048576;
    static constexpr std::uint32_t kMaxCapacity = 10485760;
    static constexpr std::uint32_t kGrowthSlack = 32768;

    Buffer();
    virtual ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    void Reset() { readOffset_ = writeOffset_ = scanned_ = 0; }
    // Room for n bytes at the write end, or nullptr when n is over 1 MiB, the
    // capacity would pass 10 MiB or memory is short (nothing changes then).
    std::uint8_t* Reserve(std::uint32_t n);
    std::uint32_t GetLength() const { return writeOffset_ - readOffset_; }
    void Consume(std::uint32_t n);
    void Unwrite(std::uint32_t n);
    const std::uint8_t* GetData() const { return data_ + readOffset_; }
    std::uint8_t* GetData() { return data_ + readOffset_; }
    // The next complete line (up to LF, one CR before it dropped) as a
    // zero-terminated text in place, valid until the buffer changes; nullptr
    // when no LF is among the unread bytes. `length` (when given) receives
    // the line's true length, which counts bytes after an embedded NUL too.
    char* GetLine(std::uint32_t* length = nullptr);
    // Whether the bytes were taken; nothing is appended when Reserve fails.
    bool Append(const void* bytes, std::uint32_t n);
    bool AppendString(std::string_view text);

    std::uint32_t capacity() const { return capacity_; }
    std::uint32_t readOffset() const { return readOffset_; }
    std::uint32_t writeOffset() const { return writeOffset_; }

private:
    bool Grow(std::uint32_t newCapacity);

    std::uint32_t capacity_ = 0;
    std::uint8_t* data_ = nullptr;  // owned; wiped before every free
    std::uint32_t readOffset_ = 0;
    std::uint32_t writeOffset_ = 0;
    std::uint32_t scanned_ = 0;  // unread bytes already searched for LF in vain
};

}  // namespace component::transport
