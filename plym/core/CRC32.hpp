#ifndef PLYM_FASTMATH_CRC32_HPP
#define PLYM_FASTMATH_CRC32_HPP

#include <cstddef>
#include <cstdint>
#include <string>

namespace Plym
{
namespace FastMath
{

/// Table-driven reflected CRC-32 (initial value and final inversion 0xFFFFFFFF).
/// The polynomial is process-wide; the default is the IEEE 802.3 one, 0xEDB88320.
class CRC32
{
public:
    /// Sets the reflected polynomial and rebuilds the lookup table.
    static void setPolynomial(std::uint32_t polynomial);

    static std::uint32_t getPolynomial();

    static std::uint32_t calculateCRC(const std::string& bytes);
    static std::uint32_t calculateCRC(const void* data, std::size_t size);
};

} // namespace FastMath
} // namespace Plym

#endif
