#include "plym/core/CRC32.hpp"

#include <gtest/gtest.h>

using Plym::FastMath::CRC32;

TEST(CRC32, CheckValuesFollowThePolynomial)
{
    CRC32::setPolynomial(0xEDB88320);
    EXPECT_EQ(CRC32::calculateCRC("123456789"), 0xCBF43926u);
    EXPECT_EQ(CRC32::calculateCRC(""), 0u);

    // Castagnoli's polynomial has its own published check value.
    CRC32::setPolynomial(0x82F63B78);
    EXPECT_EQ(CRC32::getPolynomial(), 0x82F63B78u);
    EXPECT_EQ(CRC32::calculateCRC("123456789"), 0xE3069283u);

    CRC32::setPolynomial(0xEDB88320);
    EXPECT_EQ(CRC32::calculateCRC(std::string("123456789")), 0xCBF43926u);
}
