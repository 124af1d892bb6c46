#pragma once
// Dotted IPv4 text and back. Addresses are in network byte order: the first octet of the
// text in the lowest-addressed byte.
#include <cstddef>
#include <cstdint>

namespace tambre::net {

constexpr std::uint32_t invalid_address = 0xFFFFFFFFu;

// The address of dotted text; invalid_address for null or malformed text.
std::uint32_t parse_ipv4(const char* text);
// Writes the dotted text of `address` (cut to size - 1, always terminated when size > 0).
void format_ipv4(std::uint32_t address, char* buffer, std::size_t size);

}  // namespace tambre::net
