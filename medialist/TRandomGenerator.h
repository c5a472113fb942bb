#pragma once

#include <cstdint>

// The program's single pseudo-random generator: a 32-bit linear congruential seed,
// stepped before every draw, so that a seed gives the same draws on every machine.
class TRandomGenerator {
public:
    uint32_t Seed() const { return seed_; }
    void SetSeed(uint32_t seed) { seed_ = seed; }
    // The milliseconds since midnight, coordinated universal time.
    void SeedFromClock();
    // A value from 0 to n - 1, each equally likely; 0 when n is 0.
    uint32_t Draw(uint32_t n);

private:
    uint32_t seed_ = 0;
};

TRandomGenerator &ProgramRandom();
