// A fast 64-bit checksum of bytes, taken eight bytes at a time in four lanes, so that
// checking a whole log costs little next to writing it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vl {

class Checksum {
public:
    Checksum();
    void add(const void* data, std::size_t size);
    uint64_t value() const;

private:
    void take_block(const unsigned char* block);

    uint64_t m_lanes[4];
    unsigned char m_pending[32];
    std::size_t m_pending_size = 0;
    uint64_t m_total = 0;
};

}  // namespace vl
