// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Helpers to take typed values out of a fuzzer's bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct FuzzInput {
    const std::uint8_t* data;
    std::size_t size;

    template <typename T>
    T take() {
        T value{};
        const std::size_t n = size < sizeof(T) ? size : sizeof(T);
        std::memcpy(&value, data, n);
        data += n;
        size -= n;
        return value;
    }

    // The rest of the bytes (or `units` code units of them) as UTF-16 code units.
    std::u16string text(std::size_t units = SIZE_MAX) {
        std::u16string out;
        while (size >= 2 && out.size() < units)
            out += take<char16_t>();
        return out;
    }
};

// Aborts with a message when a property does not hold, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            __builtin_printf("property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            __builtin_trap();                                                                  \
        }                                                                                      \
    } while (0)
