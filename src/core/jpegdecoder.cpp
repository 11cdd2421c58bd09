#include "core/jpegdecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace velaro {
namespace {

// Pictures are small illustrations; anything larger is treated as corrupt.
constexpr unsigned kMaxPictureSide = 4096;

// libjpeg reports errors through a callback that must not return; the default one exits the
// process. Ours jumps back to the decoding function, which is plain C-style code with no
// objects needing destruction between setjmp and longjmp.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
    // A warning (level -1) means damaged data: a truncated stream otherwise "succeeds" with a
    // fake end marker and grey rows. Treat it as failure.
    if (level < 0)
        onError(info);
}

void silence(j_common_ptr) {}

// Decodes into `out`, which the caller owns, so that a longjmp skips no destructor.
// Returns false on any error; the decompressor is destroyed on every path.
bool decodeInto(const std::uint8_t* data, std::size_t size, DecodedImage& out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.base.output_message = silence;

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxPictureSide ||
        info.image_height > kMaxPictureSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    // Sized before any row is read; resizing never happens after a longjmp could occur.
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    const std::size_t stride = static_cast<std::size_t>(out.width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.rgb.data() + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

std::optional<DecodedImage> decodeJpeg(const std::uint8_t* data, std::size_t size) {
    DecodedImage image;
    if (data == nullptr || size == 0 || !decodeInto(data, size, image))
        return std::nullopt;
    return image;
}

} // namespace velaro
