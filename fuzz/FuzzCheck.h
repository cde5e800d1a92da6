#pragma once
// What the fuzz targets share: a check that holds in every build (assert is compiled out in
// RelWithDebInfo) and a reader that hands the input out piece by piece.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

/// Aborts with the broken condition, so libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);       \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

namespace mr3x::fuzz {

/// The input read from the front; past its end every read gives 0 or nothing.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    std::size_t left() const { return size_ - at_; }

    std::uint8_t byte() { return empty() ? 0 : data_[at_++]; }

    /// Up to `count` bytes.
    std::vector<std::uint8_t> bytes(std::size_t count)
    {
        const std::size_t n = count < left() ? count : left();
        std::vector<std::uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

/// The input as the program's file reader hands a text over: split at "\n", one "\r" before it
/// dropped, no empty last line after a final line end. (The reader also turns the bytes into
/// Unicode and back, which only ever gives valid UTF-8; raw bytes are a wider test.)
inline std::vector<std::string> textLines(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string line(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (end == std::string_view::npos) {
            if (start < text.size())
                lines.push_back(std::move(line));
            return lines;
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
}

} // namespace mr3x::fuzz
