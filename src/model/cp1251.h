// Windows-1251 texts in the core.
//
// Every text the program handles is a Windows-1251 byte string (the settings
// file, the 30-character cut and the one-message-per-byte typing are defined
// on those bytes). Sources are UTF-8, so the program's own Russian literals
// are converted at compile time: "Без группы"_cp1251 is a std::string_view
// over static Windows-1251 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qs {

namespace cp1251_detail {

// Unicode code points of the bytes 0x80..0xFF. 0x98 is unassigned in the
// code page; it maps to U+0098 so that every byte survives a round trip.
inline constexpr char32_t kHighHalf[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

// Returns the Windows-1251 byte for a code point, or -1 when it has none.
constexpr int ByteOf(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
  for (int i = 0; i < 128; ++i) {
    if (kHighHalf[i] == cp) return 0x80 + i;
  }
  return -1;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Malformed input yields
// U+FFFD and consumes one byte.
constexpr char32_t NextCodePoint(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  if (b0 < 0x80) {
    ++i;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    cp = b0 & 0x07;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + extra >= s.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += 1 + extra;
  return cp;
}

template <std::size_t N>
struct Utf8Literal {
  char text[N] = {};
  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  constexpr std::string_view view() const { return {text, N - 1}; }
};

consteval std::size_t ConvertedLength(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (ByteOf(NextCodePoint(s, i)) < 0) throw "literal has a character outside Windows-1251";
    ++n;
  }
  return n;
}

template <Utf8Literal S>
struct Storage {
  static constexpr std::size_t size = ConvertedLength(S.view());
  static constexpr std::array<char, size + 1> bytes = [] {
    std::array<char, size + 1> out{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < S.view().size();) {
      out[n++] = static_cast<char>(ByteOf(NextCodePoint(S.view(), i)));
    }
    return out;
  }();
};

}  // namespace cp1251_detail

// "Привет"_cp1251: the Windows-1251 bytes of a UTF-8 source literal.
template <cp1251_detail::Utf8Literal S>
consteval std::string_view operator""_cp1251() {
  using St = cp1251_detail::Storage<S>;
  return {St::bytes.data(), St::size};
}

// Runtime conversions, for the boundaries that see UTF-8 (tests, Linux
// tools, file paths shown in messages). Characters without a Windows-1251
// byte become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);

// The Unicode code point of one Windows-1251 byte.
constexpr char32_t Cp1251CodePoint(unsigned char b) {
  return b < 0x80 ? char32_t{b} : cp1251_detail::kHighHalf[b - 0x80];
}

}  // namespace qs
