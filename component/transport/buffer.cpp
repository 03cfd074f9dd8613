#include "component/transport/buffer.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace component::transport {

namespace {

void WipeAndFree(std::uint8_t* block, std::uint32_t size) {
    if (block == nullptr) return;
    // The send queue holds PASS and APOP lines: no copy of them may survive
    // in freed memory, so every block is wiped before it goes back.
    OPENSSL_cleanse(block, size);
    delete[] block;
}

}  // namespace

Buffer::Buffer() {
    data_ = new (std::nothrow) std::uint8_t[kInitialCapacity];
    if (data_ != nullptr) capacity_ = kInitialCapacity;
}

Buffer::~Buffer() { WipeAndFree(data_, capacity_); }

bool Buffer::Grow(std::uint32_t newCapacity) {
    // Allocate, copy, wipe the old block: a realloc would leave the old bytes
    // behind unwiped.
    auto* block = new (std::nothrow) std::uint8_t[newCapacity];
    if (block == nullptr) return false;
    if (data_ != nullptr) std::memcpy(block, data_, writeOffset_);
    WipeAndFree(data_, capacity_);
    data_ = block;
    capacity_ = newCapacity;
    return true;
}

std::uint8_t* Buffer::Reserve(std::uint32_t n) {
    if (n > kMaxReserve) return nullptr;
    if (readOffset_ == writeOffset_) readOffset_ = writeOffset_ = 0;
    const auto compact = [this] {
        std::memmove(data_, data_ + readOffset_, writeOffset_ - readOffset_);
        writeOffset_ -= readOffset_;
        readOffset_ = 0;
    };
    for (;;) {
        if (static_cast<std::uint64_t>(writeOffset_) + n < capacity_) {
            std::uint8_t* at = data_ + writeOffset_;
            writeOffset_ += n;
            return at;
        }
        if (readOffset_ > capacity_ / 2) {
            compact();
            continue;
        }
        // At least double: growing by the request alone would copy a long
        // line over and over, in time that grows with its square.
        const std::uint64_t wanted = std::max<std::uint64_t>(
            static_cast<std::uint64_t>(capacity_) + n + kGrowthSlack,
            std::min<std::uint64_t>(static_cast<std::uint64_t>(capacity_) * 2, kMaxCapacity));
        if (wanted > kMaxCapacity) {
            // Bytes already read must not count against the cap: moving
            // the unread ones down may make room after all.
            if (readOffset_ == 0) return nullptr;
            compact();
            continue;
        }
        if (!Grow(static_cast<std::uint32_t>(wanted))) return nullptr;
    }
}

void Buffer::Consume(std::uint32_t n) {
    if (n > GetLength()) return;
    readOffset_ += n;
    scanned_ = n < scanned_ ? scanned_ - n : 0;
}

void Buffer::Unwrite(std::uint32_t n) {
    if (n > GetLength()) return;
    writeOffset_ -= n;
    scanned_ = std::min(scanned_, GetLength());
}

char* Buffer::GetLine(std::uint32_t* length) {
    if (readOffset_ == writeOffset_) return nullptr;
    auto* start = data_ + readOffset_;
    // Bytes searched before hold no LF: a line that arrives in many reads
    // is searched once, not once per read.
    auto* lf = static_cast<std::uint8_t*>(std::memchr(start + scanned_, '\n', GetLength() - scanned_));
    if (lf == nullptr) {
        scanned_ = GetLength();
        return nullptr;
    }
    auto lineLength = static_cast<std::uint32_t>(lf - start);
    Consume(lineLength + 1);
    *lf = 0;
    if (lineLength > 0 && lf[-1] == '\r') {
        lf[-1] = 0;
        --lineLength;
    }
    if (length != nullptr) *length = lineLength;
    return reinterpret_cast<char*>(start);
}

bool Buffer::Append(const void* bytes, std::uint32_t n) {
    std::uint8_t* at = Reserve(n);
    if (at == nullptr) return false;
    if (n > 0) std::memcpy(at, bytes, n);
    return true;
}

bool Buffer::AppendString(std::string_view text) {
    return Append(text.data(), static_cast<std::uint32_t>(text.size()));
}

}  // namespace component::transport
