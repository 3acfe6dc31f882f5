#pragma once

#include <cstddef>
#include <iterator>

namespace olmira {

// Walks a container that hands out its elements by value, through its
// operator[]: the compact lists keep no element objects to point at.
template <typename Container, typename Value>
class IndexIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Value;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Value;

    IndexIterator() = default;
    IndexIterator(const Container* container, std::size_t index)
        : container_(container), index_(index) {}
    Value operator*() const { return (*container_)[index_]; }
    IndexIterator& operator++() {
        ++index_;
        return *this;
    }
    IndexIterator operator++(int) {
        IndexIterator before = *this;
        ++index_;
        return before;
    }
    bool operator==(const IndexIterator& other) const { return index_ == other.index_; }

private:
    const Container* container_ = nullptr;
    std::size_t index_ = 0;
};

}  // namespace olmira
