#include "expansion/tag_scanner.h"

#include <cstring>

namespace qs {

namespace {

std::size_t Find(std::string_view s, char c, std::size_t from) {
  if (from >= s.size()) return std::string_view::npos;
  const void* hit = std::memchr(s.data() + from, c, s.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s.data())
             : std::string_view::npos;
}

}  // namespace

// Every byte is looked at once: the search for "]" starts after the "[",
// and the next search starts after that "]". When a "[" has no "]" after it,
// no later "[" can have one either, so the rest is literal and we stop
// instead of trying each further "[".
std::optional<Segment> TagScanner::Next() {
  if (pendingTag_) {
    const std::string_view name = *pendingTag_;
    pendingTag_.reset();
    return Segment{Segment::Kind::Tag, name};
  }
  if (rest_.empty()) return std::nullopt;
  const std::size_t open = Find(rest_, '[', 0);
  const std::size_t close = open == std::string_view::npos ? open : Find(rest_, ']', open + 1);
  if (close == std::string_view::npos) {
    const std::string_view literal = rest_;
    rest_ = {};
    return Segment{Segment::Kind::Literal, literal};
  }
  const std::string_view literal = rest_.substr(0, open);
  const std::string_view name = rest_.substr(open + 1, close - open - 1);
  rest_.remove_prefix(close + 1);
  if (literal.empty()) return Segment{Segment::Kind::Tag, name};
  pendingTag_ = name;
  return Segment{Segment::Kind::Literal, literal};
}

std::vector<Segment> ScanTags(std::string_view text) {
  std::vector<Segment> segments;
  TagScanner scanner(text);
  while (std::optional<Segment> segment = scanner.Next()) segments.push_back(*segment);
  return segments;
}

}  // namespace qs
