// Damaged or hostile picture data: the decoder returns an image or a failure, and never
// crashes, reads out of bounds or ends the process.

#include "core/jpegdecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto image = velaro::decodeJpeg(data, size)) {
        if (image->width <= 0 || image->height <= 0 ||
            image->rgb.size() != std::size_t(image->width) * std::size_t(image->height) * 3)
            std::abort();
    }
    return 0;
}
