#pragma once

// Operation codes of the replies and frames Varno decodes, so that most fuzzed
// frames reach a decoder instead of being dropped for their code.

#include <cstdint>

namespace fuzz {

constexpr uint16_t KnownCodes[] = {0x0003, 0x0032, 0x0034, 0x00A3, 0x00A4, 0x012D, 0x1901,
                                   0x1945, 0x2035, 0x2037, 0xA13F, 0xE01C, 0xE01D, 0xE0ED,
                                   0xE0EF, 0xE121, 0xE125, 0xE3D9, 0xE3E8, 0xEFFE, 0xEFFF,
                                   0x0031, 0x0033, 0x2025};

// A known code for selector values below 192, the fuzzed word otherwise.
inline uint16_t pickCode(uint8_t selector, uint16_t word)
{
    constexpr int count = int(sizeof KnownCodes / sizeof KnownCodes[0]);
    return selector < 192 ? KnownCodes[selector % count] : word;
}

} // namespace fuzz
