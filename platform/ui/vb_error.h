#pragma once
#include <stdexcept>
#include <string>

namespace vb {

// A run-time error of a control, with its VB run-time error number,
// so callers that "guard themselves with error handlers" can catch it.
class VbError : public std::runtime_error {
public:
    VbError(int number, const std::string& description) : std::runtime_error(description), number_(number) {}
    int Number() const { return number_; }

private:
    int number_;
};

constexpr int kErrIndexOutOfBounds = 35600;
constexpr int kErrElementNotFound = 35601;
constexpr int kErrKeyNotUnique = 35602;
constexpr int kErrInvalidPropertyValue = 380;

}  // namespace vb
