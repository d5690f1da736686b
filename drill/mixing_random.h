// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The random source of the drill. A reseed mixes the seed into the running state instead of
// replacing it, so reseeding twice with the same clock reading still gives new fractions.

#include <cstdint>

#include "ports.h"

namespace drill {

class MixingRandom : public RandomSource {
public:
    explicit MixingRandom(std::uint64_t initialState = 0x853c49e6748fea9bULL)
        : state_(initialState) {}

    double next() override;
    void reseed(float seed) override;

private:
    std::uint64_t state_;
};

}  // namespace drill
