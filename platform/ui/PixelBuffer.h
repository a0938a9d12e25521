#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace platform::ui {

// What a new bitmap's pixels hold: transparent black, or whatever the memory
// held, for a caller that writes every pixel before anything reads one (a
// picture filled edge to edge need not be cleared first).
enum class BitmapPixels { transparent, unset };

// A bitmap's pixel words in one block of memory, made, cleared, copied and
// compared whole. Nothing here visits the words one by one: a window picture
// holds millions of them and is made and freed many times a second, and in a
// sanitized build a loop over them pays a check on every word (a vector with
// its own allocator constructs and destroys each element in such a loop).
class PixelBuffer {
public:
    using value_type = std::uint32_t;
    using iterator = std::uint32_t*;
    using const_iterator = const std::uint32_t*;

    PixelBuffer() = default;
    PixelBuffer(std::size_t count, BitmapPixels initial)
        : words_(initial == BitmapPixels::unset ? new std::uint32_t[count] : new std::uint32_t[count]()),
          size_(count) {}
    PixelBuffer(const PixelBuffer& other) : words_(new std::uint32_t[other.size_]), size_(other.size_) {
        if (size_) std::memcpy(words_.get(), other.words_.get(), size_ * sizeof(std::uint32_t));
    }
    PixelBuffer(PixelBuffer&& other) noexcept
        : words_(std::move(other.words_)), size_(std::exchange(other.size_, 0)) {}
    PixelBuffer& operator=(PixelBuffer other) noexcept {
        std::swap(words_, other.words_);
        std::swap(size_, other.size_);
        return *this;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint32_t* data() { return words_.get(); }
    const std::uint32_t* data() const { return words_.get(); }
    std::uint32_t* begin() { return words_.get(); }
    std::uint32_t* end() { return words_.get() + size_; }
    const std::uint32_t* begin() const { return words_.get(); }
    const std::uint32_t* end() const { return words_.get() + size_; }
    std::uint32_t& operator[](std::size_t index) { return words_[index]; }
    const std::uint32_t& operator[](std::size_t index) const { return words_[index]; }

    // Every word transparent black.
    void clear() {
        if (size_) std::memset(words_.get(), 0, size_ * sizeof(std::uint32_t));
    }

    friend bool operator==(const PixelBuffer& a, const PixelBuffer& b) {
        return a.size_ == b.size_ &&
               (a.size_ == 0 || std::memcmp(a.words_.get(), b.words_.get(), a.size_ * sizeof(std::uint32_t)) == 0);
    }

private:
    std::unique_ptr<std::uint32_t[]> words_;
    std::size_t size_ = 0;
};

}  // namespace platform::ui
