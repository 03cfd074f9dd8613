#pragma once
// When a download's progress is worth showing. The component tells every
// line it receives; a person reads the progress at a calmer pace, and
// painting every line, or the end of every small message, costs more than
// the download itself.
#include <cstdint>

namespace modCheck {

class ProgressPace {
public:
    // The least time between two showings.
    static constexpr int64_t kPaceMs = 50;

    // A new download begins: its first progress shows.
    void Start() {
        shownAt_ = -1;
        messageShown_ = false;
    }
    // Whether the progress at position of total bytes of the message being
    // received is shown, now (ms on any steady clock): once the pace allows
    // it; and at a message's end when part of that message was shown (the
    // bar does not stop short of it) or when it is the last message.
    bool Due(int32_t position, int32_t total, bool lastMessage, int64_t now) {
        const bool messageEnd = position >= total;
        const bool paced = shownAt_ < 0 || now - shownAt_ >= kPaceMs;
        const bool endSeen = messageEnd && (messageShown_ || lastMessage);
        messageShown_ = !messageEnd && (messageShown_ || paced);
        if (!paced && !endSeen) return false;
        shownAt_ = now;
        return true;
    }

private:
    int64_t shownAt_ = -1;
    bool messageShown_ = false;
};

}  // namespace modCheck
