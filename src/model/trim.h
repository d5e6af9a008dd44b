// Trimming: every text written to or read from Settings.xml, the text picked
// for typing, clipboard texts and the editors' input lose, at both ends,
// every byte of code 32 or lower. The no-break space 0xA0 stays.
#pragma once

#include <string>
#include <string_view>

namespace qs {

constexpr std::string_view TrimView(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

}  // namespace qs
