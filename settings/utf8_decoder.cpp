#include "settings/utf8_decoder.h"

size_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, uint32_t* code) {
    if (size == 0) return 0;
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    size_t extra;
    uint32_t value;
    uint32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (size <= extra) return 0;
    for (size_t k = 1; k <= extra; ++k) {
        if (bytes[k] < 0x80 || bytes[k] > 0xBF) return 0;
        value = (value << 6) | (bytes[k] & 0x3F);
    }
    if (value < minimum || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) return 0;
    *code = value;
    return extra + 1;
}
