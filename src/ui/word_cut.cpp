#include "ui/word_cut.h"

#include <vector>

#include "model/cp1251.h"

namespace qs {
namespace {

bool IsPunctuation(char32_t c) {
  return c == U'.' || c == U',' || c == U'-' || c == U':' || c == U';';
}

// Line breaks and tabs are deliberately not boundaries.
bool IsBoundary(char32_t c) { return c == U' ' || c == U'\u00A0' || IsPunctuation(c); }

}  // namespace

// Positions below are counted from 1, as the rule is stated. The character
// just before the last one is skipped when it is a boundary, so that
// «hello, w» loses «, w» and not only «w»; punctuation found there goes too,
// unless the text ends in a space.
std::string WordCut(std::string_view utf8) {
  std::vector<std::size_t> starts;
  std::vector<char32_t> chars;
  for (std::size_t i = 0; i < utf8.size();) {
    starts.push_back(i);
    chars.push_back(cp1251_detail::NextCodePoint(utf8, i));
  }
  const std::size_t length = chars.size();
  if (length == 0) return {};
  const auto at = [&](std::size_t position) { return chars[position - 1]; };

  const bool boundaryBeforeLast = length >= 2 && IsBoundary(at(length - 1));
  const std::size_t from = boundaryBeforeLast ? length - 2 : length - 1;
  for (std::size_t p = from; p >= 1; --p) {
    if (!IsBoundary(at(p))) continue;
    std::size_t keep = p;
    if (at(length) != U' ' && boundaryBeforeLast && IsPunctuation(at(p))) keep = p - 1;
    return std::string(utf8.substr(0, starts[keep]));
  }
  return {};
}

}  // namespace qs
