#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace olmira {

// An array of plain values that grows by realloc. The C library moves a
// large block's pages instead of copying them, so a reply of many megabytes
// never stands in memory twice while it grows, as it would in a std::string
// or std::vector.
template <typename T>
class GrowingArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GrowingArray() = default;
    GrowingArray(const GrowingArray& other) { Append(other.data(), other.size()); }
    GrowingArray& operator=(const GrowingArray& other) {
        if (this != &other) {
            clear();
            Append(other.data(), other.size());
        }
        return *this;
    }
    GrowingArray(GrowingArray&& other) noexcept
        : data_(std::move(other.data_)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    GrowingArray& operator=(GrowingArray&& other) noexcept {
        data_ = std::move(other.data_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        return *this;
    }

    const T* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](std::size_t index) const { return data_.get()[index]; }

    void Append(const T* values, std::size_t count) {
        if (count == 0) {
            return;
        }
        Reserve(size_ + count);
        std::memcpy(data_.get() + size_, values, count * sizeof(T));
        size_ += count;
    }
    void push_back(const T& value) { Append(&value, 1); }
    // Shrinks only; what lies beyond stays allocated for the next reply.
    void Truncate(std::size_t size) { size_ = std::min(size, size_); }
    void clear() { size_ = 0; }

private:
    struct Free {
        void operator()(T* block) const { std::free(block); }
    };

    void Reserve(std::size_t wanted) {
        if (wanted <= capacity_) {
            return;
        }
        const std::size_t capacity = std::max({wanted, 2 * capacity_, std::size_t{64}});
        void* grown = std::realloc(data_.get(), capacity * sizeof(T));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        static_cast<void>(data_.release());
        data_.reset(static_cast<T*>(grown));
        capacity_ = capacity;
    }

    std::unique_ptr<T, Free> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace olmira
