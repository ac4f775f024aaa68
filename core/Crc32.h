// CRC-32 as zip, PNG and Ethernet compute it (reflected polynomial
// 0xEDB88320, initial value and final XOR 0xFFFFFFFF): the snapshot file's
// check that its bytes are the ones that were written.
#pragma once

#include <cstdint>
#include <span>

uint32_t Crc32(std::span<const uint8_t> bytes);
