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
    // The rest of the input as text, one UTF-16 code unit per two bytes.
    std::wstring RestAsText() {
        std::wstring text;
        while (used_ + 1 < size_) {
            text += static_cast<wchar_t>(Take<uint16_t>());
        }
        return text;
    }
    std::string RestAsBytes() {
        std::string bytes(reinterpret_cast<const char*>(data_ + used_), size_ - used_);
        used_ = size_;
        return bytes;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t used_ = 0;
};
