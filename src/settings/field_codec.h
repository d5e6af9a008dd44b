// The field scrambler of Settings.xml: an XOR pass keyed by a 16-bit
// running value, then base64 with the first byte in the lowest bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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

// DecodeField and EncodeFieldsInto use the processor's vector unit where
// it has a suitable one (AVX2 on x86-64) and portable code elsewhere; both
// ways give the same result, which the tests check by asking for each.
enum class CodecPath { Portable, Vector };
bool HasCodecPath(CodecPath path);
// DecodeField by that way; the portable one when the other is missing.
std::string DecodeFieldOn(CodecPath path, std::string_view text, std::uint16_t key = kFieldKey);

// EncodeField appended to `out`, for building a document without temporaries.
void AppendEncodedField(std::string& out, std::string_view text, std::uint16_t key = kFieldKey);
// The length of EncodeField's result for a text of that many bytes.
std::size_t EncodedFieldLength(std::size_t plainLength);

// EncodeField of many texts at once, each written to its own place, which
// has room for EncodedFieldLength(text.size()) characters.
struct FieldJob {
  std::string_view text;
  char* out = nullptr;
};
void EncodeFieldsInto(std::span<const FieldJob> jobs, std::uint16_t key = kFieldKey);
// EncodeFieldsInto by that way; the portable one when the other is missing.
void EncodeFieldsIntoOn(CodecPath path, std::span<const FieldJob> jobs,
                        std::uint16_t key = kFieldKey);

}  // namespace qs
