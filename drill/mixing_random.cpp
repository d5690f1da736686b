// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mixing_random.h"

#include <bit>

namespace drill {
namespace {

// SplitMix64 output function.
std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t kGoldenGamma = 0x9e3779b97f4a7c15ULL;

}  // namespace

double MixingRandom::next() {
    state_ += kGoldenGamma;
    return static_cast<double>(mix(state_) >> 11) * 0x1.0p-53;  // 53 bits: [0, 1)
}

void MixingRandom::reseed(float seed) {
    // The seed joins the running state; the same seed twice still moves the state on.
    state_ = mix(state_ ^ (std::uint64_t{std::bit_cast<std::uint32_t>(seed)} * kGoldenGamma)) +
             kGoldenGamma;
}

}  // namespace drill
