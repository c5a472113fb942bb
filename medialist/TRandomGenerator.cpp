#include "medialist/TRandomGenerator.h"

#include <QDateTime>

void TRandomGenerator::SeedFromClock()
{
    seed_ = uint32_t(QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay());
}

uint32_t TRandomGenerator::Draw(uint32_t n)
{
    seed_ = seed_ * 134775813u + 1u;
    return uint32_t((uint64_t(n) * seed_) >> 32);
}

TRandomGenerator &ProgramRandom()
{
    static TRandomGenerator generator;
    return generator;
}
