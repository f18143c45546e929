#include "text/Utf8.h"

Utf8Start utf8Start(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80)
        return {1, 1};
    qsizetype needed = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {};
    }
    qsizetype fitting = 1;
    for (; fitting < needed && fitting < bytes.size(); ++fitting) {
        const auto byte = static_cast<unsigned char>(bytes[fitting]);
        if (fitting == 1 ? byte < low || byte > high : byte < 0x80 || byte > 0xBF)
            break;
    }
    return {needed, fitting};
}
