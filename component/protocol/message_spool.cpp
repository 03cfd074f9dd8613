#include "component/protocol/message_spool.h"

#include <unistd.h>

#include <cerrno>

namespace component::protocol {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

namespace {

// Bytes held in memory by all spools of the process.
std::atomic<std::size_t> heldTotal{0};

}  // namespace

bool MessageSpool::BudgetAllows(std::size_t bytes) { return heldTotal.load() + bytes <= kMemoryBudget; }

bool MessageSpool::WantsFile() const {
    return fd_ < 0 && (held_.size() > kMemoryLimit || heldTotal.load() > kMemoryBudget);
}

MessageSpool::~MessageSpool() {
    CloseFile();
    Release();
}

void MessageSpool::StartInMemory(std::size_t expected) {
    Abort();
    Release();
    held_.reserve(expected + 2);
    lost_ = false;
    length_ = 0;
}

void MessageSpool::StartInFile(int fd) {
    Abort();
    Release();
    fd_ = fd;
    lost_ = false;
    length_ = 0;
}

bool MessageSpool::AppendLine(std::string_view line) {
    length_ += static_cast<std::int64_t>(line.size() + 2);
    std::string& into = fd_ < 0 ? held_ : pending_;
    into.append(line);
    into.append("\r\n", 2);
    if (fd_ < 0) {
        heldTotal += line.size() + 2;
        counted_ += line.size() + 2;
    }
    if (fd_ >= 0 && pending_.size() >= kWriteBlock) return WritePending();
    return !lost_;
}

bool MessageSpool::MoveToFile(int fd) {
    fd_ = fd;
    pending_ = std::move(held_);
    Release();
    return WritePending();
}

bool MessageSpool::WritePending() {
    if (!lost_ && !WriteAll(fd_, pending_)) lost_ = true;
    pending_.clear();
    return !lost_;
}

bool MessageSpool::CloseFile() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    std::string().swap(pending_);
    return closed;
}

std::int64_t MessageSpool::Finish() {
    if (fd_ < 0) {
        if (!finished_) finished_ = std::make_shared<const std::string>(std::move(held_));
        return length_;
    }
    // A full disk may show only here, when the last block goes out or on close.
    const bool written = WritePending();
    const bool closed = CloseFile();
    return written && closed ? length_ : -1;
}

void MessageSpool::Abort() {
    if (fd_ >= 0) WritePending();
    CloseFile();
    Release();
}

void MessageSpool::Release() {
    heldTotal -= counted_;
    counted_ = 0;
    std::string().swap(held_);
    finished_.reset();
}

}  // namespace component::protocol
