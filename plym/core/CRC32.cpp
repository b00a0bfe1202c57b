#include "plym/core/CRC32.hpp"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace Plym
{
namespace FastMath
{
namespace
{

struct Table
{
    std::uint32_t polynomial = 0;
    std::array<std::uint32_t, 256> entries{};
};

Table makeTable(std::uint32_t polynomial)
{
    Table table;
    table.polynomial = polynomial;
    for (std::uint32_t i = 0; i < 256; ++i)
    {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1u) ? (value >> 1) ^ polynomial : value >> 1;
        table.entries[i] = value;
    }
    return table;
}

// Tables are never freed once published, so readers on any thread may keep using one
// while another thread changes the polynomial. Replaced ones stay listed here (a list that
// is itself never destroyed), so they remain reachable instead of counting as leaks.
std::vector<std::unique_ptr<const Table>>& retiredTables()
{
    static auto* tables = new std::vector<std::unique_ptr<const Table>>();
    return *tables;
}

std::atomic<const Table*>& currentTable()
{
    static std::atomic<const Table*> table{new Table(makeTable(0xEDB88320u))};
    return table;
}

} // namespace

void CRC32::setPolynomial(std::uint32_t polynomial)
{
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    const Table* old = currentTable().load();
    if (old->polynomial == polynomial)
        return;
    retiredTables().emplace_back(old);
    currentTable().store(new Table(makeTable(polynomial)));
}

std::uint32_t CRC32::getPolynomial()
{
    return currentTable().load()->polynomial;
}

std::uint32_t CRC32::calculateCRC(const std::string& bytes)
{
    return calculateCRC(bytes.data(), bytes.size());
}

std::uint32_t CRC32::calculateCRC(const void* data, std::size_t size)
{
    const Table& table = *currentTable().load();
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table.entries[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace FastMath
} // namespace Plym
