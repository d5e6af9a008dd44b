// The field scrambler of Settings.xml: an XOR pass keyed by a 16-bit
// running value, then base64 with the first byte in the lowest bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qs {

inline constexpr std::uint16_t kFieldKey = 27094;

std::string XorEncode(std::string_view plain, std::uint16_t key);
std::string XorDecode(std::string_view scrambled, std::uint16_t key);
std::string Base64LeEncode(std::string_view bytes);
std::string Base64LeDecode(std::string_view text);

std::string EncodeField(std::string_view text, std::uint16_t key = kFieldKey);
std::string DecodeField(std::string_view text, std::uint16_t key = kFieldKey);

}  // namespace qs
