#pragma once
// Short copies for the record's fields and lines.
//
// Given a copy whose size it can bound (a field of 255, a line of 1022), GCC
// expands memcpy into "rep movs", whose start-up cost dwarfs the few dozen
// bytes a field holds. This is the short-copy path of a library memcpy:
// fixed-size moves, the last one overlapping, never touching a byte outside
// either range.

#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies n bytes from source to destination; the ranges must not overlap.
inline void CopyBytes(char* destination, const char* source, size_t n) {
    if (n >= 16) {
        uint64_t head[2], tail[2];
        for (size_t i = 0; i + 16 < n; i += 16) {
            std::memcpy(head, source + i, 16);
            std::memcpy(destination + i, head, 16);
        }
        std::memcpy(tail, source + n - 16, 16);
        std::memcpy(destination + n - 16, tail, 16);
    } else if (n >= 8) {
        uint64_t head, tail;
        std::memcpy(&head, source, 8);
        std::memcpy(&tail, source + n - 8, 8);
        std::memcpy(destination, &head, 8);
        std::memcpy(destination + n - 8, &tail, 8);
    } else if (n >= 4) {
        uint32_t head, tail;
        std::memcpy(&head, source, 4);
        std::memcpy(&tail, source + n - 4, 4);
        std::memcpy(destination, &head, 4);
        std::memcpy(destination + n - 4, &tail, 4);
    } else if (n > 0) {
        const char first = source[0], middle = source[n / 2], last = source[n - 1];
        destination[0] = first;
        destination[n / 2] = middle;
        destination[n - 1] = last;
    }
}
