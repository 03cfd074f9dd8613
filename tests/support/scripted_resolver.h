#pragma once
// GLib's default resolver replaced, for the life of the object, by one that
// answers from a table and never asks a name server: a name maps to an
// address text, to kStall (no answer until the lookup is cancelled) or, when
// it is missing, to "not found". Answers come from the loop, `delay` after
// the question.
#include <chrono>
#include <map>
#include <string>

namespace testsupport {

class ScriptedResolver {
public:
    static constexpr const char* kStall = "stall";

    explicit ScriptedResolver(std::map<std::string, std::string> answers,
                              std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    ~ScriptedResolver();
    ScriptedResolver(const ScriptedResolver&) = delete;
    ScriptedResolver& operator=(const ScriptedResolver&) = delete;

    // Lookups asked so far, and those cancelled before their answer.
    int asked() const;
    int cancelled() const;

    struct State;

private:
    void* previous_;  // the resolver this one replaced (a GResolver, held)
    void* resolver_;  // this one (a GResolver)
};

}  // namespace testsupport
