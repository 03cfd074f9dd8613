#pragma once
// MessageSpool: where the bytes of a message being downloaded go. A small
// message stays in memory, because creating a file per message costs more
// than receiving it where the temporary folder is on a disk; a large one is
// written to its file in blocks, so memory stays flat in the message size.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace component::protocol {

class MessageSpool {
public:
    // A message held in memory moves to a file once it grows past this.
    static constexpr std::size_t kMemoryLimit = 32 * 1024;
    // All messages held in memory together stay within this: past it a new
    // or growing message goes to a file, so a large mailbox of small
    // messages does not fill the memory.
    static constexpr std::size_t kMemoryBudget = std::size_t{128} << 20;
    // A file receives the lines in blocks of this size, not one write each.
    static constexpr std::size_t kWriteBlock = 64 * 1024;

    // Whether `bytes` more fit in the memory budget.
    static bool BudgetAllows(std::size_t bytes);

    MessageSpool() = default;
    ~MessageSpool();
    MessageSpool(const MessageSpool&) = delete;
    MessageSpool& operator=(const MessageSpool&) = delete;

    // Starts a download held in memory; `expected` bytes are reserved.
    void StartInMemory(std::size_t expected);
    // Starts a download written into `fd`, which the spool closes.
    void StartInFile(int fd);
    bool InMemory() const { return fd_ < 0; }
    // Appends one line and its line end; false when the file lost bytes.
    bool AppendLine(std::string_view line);
    // True while held in memory past kMemoryLimit or the budget: the
    // message wants a file.
    bool WantsFile() const;
    // Goes on in `fd` (which the spool closes) with the bytes held so far;
    // false when they could not be written.
    bool MoveToFile(int fd);
    // Ends the download: the bytes received, -1 when the file lost some.
    // Bytes held in memory stay until Release.
    std::int64_t Finish();
    // Ends a download that did not reach its end: the file is closed as it
    // is and the bytes held are dropped.
    void Abort();
    const std::string& Held() const { return finished_ ? *finished_ : held_; }
    // The bytes held of a finished download, shared: a reader keeps them
    // without a copy, and they never change under it.
    std::shared_ptr<const std::string> Finished() const { return finished_; }
    void Release();

private:
    bool WritePending();
    bool CloseFile();

    std::string held_;                             // the message, while in memory
    std::shared_ptr<const std::string> finished_;  // held_, once the download ends
    std::size_t counted_ = 0;                      // what held_ adds to the budget's total
    std::string pending_;                          // bytes not yet written to the file
    int fd_ = -1;
    bool lost_ = false;  // a write failed: the file misses bytes
    std::int64_t length_ = 0;
};

// Writes all of `bytes` to `fd`; false on any failure.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace component::protocol
