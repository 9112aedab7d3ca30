// Rewriting the pages of an Ogg stream: serial number, identification header's rate, page checksum.
#include "tests/support/ogg_chain.h"

#include <cstring>

namespace {
// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, not reflected, starting from 0, taken
// over the whole page with its checksum field zeroed.
uint32_t pageChecksum(const uint8_t* page, size_t length) {
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        crc ^= static_cast<uint32_t>(page[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) != 0 ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

void putLittle32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}
} // namespace

std::vector<uint8_t> relinkOgg(const std::vector<uint8_t>& ogg, uint32_t serial, uint32_t rate) {
    std::vector<uint8_t> out = ogg;
    size_t at = 0;
    while (out.size() - at >= 27 && std::memcmp(out.data() + at, "OggS", 4) == 0) {
        const size_t segments = out[at + 26];
        if (out.size() - at < 27 + segments) {
            break;
        }
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) {
            body += out[at + 27 + i];
        }
        const size_t pageLength = 27 + segments + body;
        if (out.size() - at < pageLength) {
            break;
        }
        uint8_t* page = out.data() + at;
        putLittle32(page + 14, serial);
        uint8_t* packet = page + 27 + segments;
        if (rate != 0 && (page[5] & 0x02) != 0 && body >= 16 && packet[0] == 1 &&
            std::memcmp(packet + 1, "vorbis", 6) == 0) {
            putLittle32(packet + 12, rate);
        }
        putLittle32(page + 22, 0);
        putLittle32(page + 22, pageChecksum(page, pageLength));
        at += pageLength;
    }
    return out;
}
