// The checksum: rounds of multiply and rotate over 32-byte blocks, with the tail and the
// length folded in at the end.
#include "logstore/Checksum.h"

#include <algorithm>
#include <cstring>

namespace vl {

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ull;

constexpr uint64_t rotate(uint64_t value, int bits) {
    return (value << bits) | (value >> (64 - bits));
}

constexpr uint64_t round(uint64_t lane, uint64_t word) {
    return rotate(lane + word * kPrime2, 31) * kPrime1;
}

uint64_t word_at(const unsigned char* bytes) {
    uint64_t word = 0;
    for (int i = 0; i < 8; ++i) {
        word |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    return word;
}

}  // namespace

Checksum::Checksum() : m_lanes{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1}, m_pending{} {}

void Checksum::take_block(const unsigned char* block) {
    for (int lane = 0; lane < 4; ++lane) {
        m_lanes[lane] = round(m_lanes[lane], word_at(block + 8 * lane));
    }
}

void Checksum::add(const void* data, std::size_t size) {
    if (size == 0) {
        return;  // an empty span may bring no pointer at all
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_total += size;
    if (m_pending_size > 0) {
        std::size_t take = std::min(size, sizeof m_pending - m_pending_size);
        std::memcpy(m_pending + m_pending_size, bytes, take);
        m_pending_size += take;
        bytes += take;
        size -= take;
        if (m_pending_size < sizeof m_pending) {
            return;
        }
        take_block(m_pending);
        m_pending_size = 0;
    }
    for (; size >= 32; bytes += 32, size -= 32) {
        take_block(bytes);
    }
    std::memcpy(m_pending, bytes, size);
    m_pending_size = size;
}

uint64_t Checksum::value() const {
    uint64_t sum = rotate(m_lanes[0], 1) + rotate(m_lanes[1], 7) + rotate(m_lanes[2], 12) +
                   rotate(m_lanes[3], 18);
    for (uint64_t lane : m_lanes) {
        sum = (sum ^ round(0, lane)) * kPrime1 + kPrime3;
    }
    sum += m_total;
    for (std::size_t i = 0; i < m_pending_size; ++i) {
        sum = rotate(sum ^ (m_pending[i] * kPrime3), 11) * kPrime1;
    }
    sum ^= sum >> 33;
    sum *= kPrime2;
    sum ^= sum >> 29;
    sum *= kPrime3;
    return sum ^ (sum >> 32);
}

}  // namespace vl
