#pragma once
// The program's module arrays: index ranges 0 to an upper bound that are
// re-dimensioned as a whole, either fresh (every element reset) or keeping the
// elements that lie within both the old and the new bounds. An index outside
// the bounds throws std::out_of_range instead of touching foreign memory.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

template <typename T>
class VbArray {
public:
    VbArray() = default;
    VbArray(const VbArray& other) : VbArray() { CopyFrom(other); }
    VbArray& operator=(const VbArray& other) {
        if (this != &other) CopyFrom(other);
        return *this;
    }
    VbArray(VbArray&&) noexcept = default;
    VbArray& operator=(VbArray&&) noexcept = default;

    // Index range 0 to upper, every element new; upper < 0 leaves no element.
    void Redim(int upper) {
        size_ = upper < 0 ? 0 : static_cast<size_t>(upper) + 1;
        data_ = size_ ? std::make_unique<T[]>(size_) : nullptr;
    }
    // Index range 0 to upper, keeping the elements both ranges share.
    void RedimPreserve(int upper) {
        VbArray next;
        next.Redim(upper);
        std::move(data_.get(), data_.get() + std::min(size_, next.size_), next.data_.get());
        *this = std::move(next);
    }

    // The upper bound; -1 when unallocated.
    [[nodiscard]] int UBound() const { return static_cast<int>(size_) - 1; }
    [[nodiscard]] bool Contains(int i) const { return i >= 0 && static_cast<size_t>(i) < size_; }

    T& operator[](int i) { return data_[Check(i)]; }
    const T& operator[](int i) const { return data_[Check(i)]; }

private:
    size_t Check(int i) const {
        if (!Contains(i)) [[unlikely]]
            OutOfRange(i);
        return static_cast<size_t>(i);
    }
    // Apart, so that the check itself stays small enough to be inlined.
    [[noreturn, gnu::cold, gnu::noinline]] void OutOfRange(int i) const {
        throw std::out_of_range("index " + std::to_string(i) + " outside 0 to " + std::to_string(UBound()));
    }
    void CopyFrom(const VbArray& other) {
        Redim(other.UBound());
        std::copy(other.data_.get(), other.data_.get() + size_, data_.get());
    }

    std::unique_ptr<T[]> data_;
    size_t size_ = 0;
};

// Two subscripts, (0 to upper1, 0 to upper2).
template <typename T>
class VbArray2 {
public:
    void Redim(int upper1, int upper2) {
        rows_ = upper1 < 0 ? 0 : upper1 + 1;
        cols_ = upper2 < 0 ? 0 : upper2 + 1;
        cells_.Redim(rows_ * cols_ - 1);
    }
    // Keeps every element whose subscripts lie within both the old and the new bounds.
    void RedimPreserve(int upper1, int upper2) {
        VbArray2 next;
        next.Redim(upper1, upper2);
        const int rows = std::min(rows_, next.rows_), cols = std::min(cols_, next.cols_);
        for (int a = 0; a < rows; ++a)
            for (int m = 0; m < cols; ++m) next(a, m) = std::move((*this)(a, m));
        *this = std::move(next);
    }

    [[nodiscard]] int UBound1() const { return rows_ - 1; }
    [[nodiscard]] int UBound2() const { return cols_ - 1; }
    [[nodiscard]] bool Contains(int a, int m) const { return a >= 0 && a < rows_ && m >= 0 && m < cols_; }

    T& operator()(int a, int m) { return cells_[Check(a, m)]; }
    const T& operator()(int a, int m) const { return cells_[Check(a, m)]; }

private:
    int Check(int a, int m) const {
        if (!Contains(a, m)) [[unlikely]]
            OutOfRange(a, m);
        return a * cols_ + m;
    }
    [[noreturn, gnu::cold, gnu::noinline]] void OutOfRange(int a, int m) const {
        throw std::out_of_range("index (" + std::to_string(a) + ", " + std::to_string(m) +
                                ") outside (0 to " + std::to_string(UBound1()) + ", 0 to " +
                                std::to_string(UBound2()) + ")");
    }

    VbArray<T> cells_;
    int rows_ = 0, cols_ = 0;
};
