// Splits a pending text into literal runs and tags. A tag is "[" name "]",
// where the name ends at the first "]" after the opening bracket (so it may
// hold "[" but never "]"); an opening bracket with no "]" anywhere after it,
// and everything after the last tag, is literal text.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace qs {

struct Segment {
  enum class Kind { Literal, Tag };
  Kind kind = Kind::Literal;
  std::string_view text;  // the literal run, or the tag name without brackets
  friend bool operator==(const Segment&, const Segment&) = default;
};

// Yields the segments of a text one by one, in order, as views into it.
// Empty literal runs are skipped; empty tag names are not.
class TagScanner {
 public:
  explicit TagScanner(std::string_view text) : rest_(text) {}
  std::optional<Segment> Next();

 private:
  std::string_view rest_;
  std::optional<std::string_view> pendingTag_;  // found together with the literal before it
};

std::vector<Segment> ScanTags(std::string_view text);

}  // namespace qs
