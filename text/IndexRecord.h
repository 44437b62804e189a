#pragma once
// The 8-byte index record as stored on disk: offset, then length, each a
// 32-bit little-endian unsigned. Decoded byte by byte so that the result does
// not depend on the host's byte order or on the alignment of the buffer.

#include <stdint.h>

#include "text/LanguageTable.h"

namespace text {

enum { kRecordSize = 8 };

inline uint32_t DecodeU32(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

inline void EncodeU32(uint32_t value, unsigned char* p) {
    p[0] = (unsigned char)(value & 0xFF);
    p[1] = (unsigned char)((value >> 8) & 0xFF);
    p[2] = (unsigned char)((value >> 16) & 0xFF);
    p[3] = (unsigned char)((value >> 24) & 0xFF);
}

inline TextIndexEntry DecodeRecord(const unsigned char* p) {
    TextIndexEntry entry;
    entry.offset = DecodeU32(p);
    entry.length = DecodeU32(p + 4);
    return entry;
}

inline void EncodeRecord(const TextIndexEntry& entry, unsigned char* p) {
    EncodeU32(entry.offset, p);
    EncodeU32(entry.length, p + 4);
}

// Offsets of 2^31 and above cannot be reached with the runtime's signed
// seek on a 32-bit long; such a record is outside the format.
const uint32_t kMaxOffset = 0x7FFFFFFFu;

} // namespace text
