// Takes a fuzzer's bytes apart into the small values a fuzz target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return position_ >= size_; }

  std::uint8_t Byte() { return Empty() ? 0 : data_[position_++]; }

  int Number(int limit) { return limit <= 0 ? 0 : Byte() % limit; }

  // A string of up to maxLength units drawn from a small alphabet that makes collisions with
  // openers, terminators, escapes, tabs and line breaks likely.
  std::wstring Text(int maxLength, const wchar_t* alphabet) {
    std::wstring text;
    int length = Number(maxLength + 1);
    std::size_t letters = std::char_traits<wchar_t>::length(alphabet);
    for (int i = 0; i < length && !Empty(); ++i) text += alphabet[Byte() % letters];
    return text;
  }

  // The rest of the input as one string, byte by byte.
  std::wstring Rest(const wchar_t* alphabet) {
    std::wstring text;
    std::size_t letters = std::char_traits<wchar_t>::length(alphabet);
    while (!Empty()) text += alphabet[Byte() % letters];
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};
