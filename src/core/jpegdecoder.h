#pragma once
// JPEG decoding through libjpeg, hardened for damaged data: any error or warning from the
// library is a failure, absurd dimensions are refused before anything is allocated, and no
// failure ends the program.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velaro {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // width * height * 3 bytes, rows top to bottom
};

std::optional<DecodedImage> decodeJpeg(const std::uint8_t* data, std::size_t size);

} // namespace velaro
