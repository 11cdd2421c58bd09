// Anything may be pasted into a field: the parser gives a number or the conversion error, and
// never crashes or hangs. A number it gives is finite and can be written and read back.

#include "core/numbers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (char separator : {',', '.'}) {
        long double value = 0.0L;
        try {
            value = velaro::StrToFloat(text, separator);
        } catch (const velaro::EConvertError&) {
            continue;
        }
        if (!std::isfinite(value))
            std::abort();
        const std::string written = velaro::FloatToStr(value, separator);
        long double reread = 0.0L;
        if (!velaro::TryStrToFloat(written, separator, reread))
            std::abort();
        try {
            velaro::SimpleRoundTo(static_cast<double>(value), -2);
        } catch (const velaro::EInvalidOp&) {
        }
    }
    return 0;
}
