#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Reads typed values off the front of a fuzzer's input; past the end everything reads as 0.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <typename T>
    T Take() {
        T value{};
        const size_t n = std::min(sizeof value, size_ - used_);
        std::memcpy(&value, data_ + used_, n);
        used_ += n;
        return value;
    }
    std::string Rest() {
        std::string bytes(reinterpret_cast<const char*>(data_ + used_), size_ - used_);
        used_ = size_;
        return bytes;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};
