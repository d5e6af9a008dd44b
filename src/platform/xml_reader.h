// A parsed XML document as one small tree that the settings reader walks.
// Both back ends (XmlLite on Windows, pugixml elsewhere) fill it the same
// way, so the reader's leniency does not depend on the platform.
//
// Nothing in the tree owns memory: names, values and child lists are views
// into storage that the parse result keeps (the file's own bytes where the
// parser works in place, an arena otherwise). A settings file has some
// 100,000 nodes; building them as views keeps a load from copying every
// text and freeing every node one by one.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

// A name or a value in the tree. A parser that works in place knows where a
// text starts and that a NUL ends it, but not its length; measuring every
// text while the tree is built would read the whole file once more, so the
// length is found when the text is used, just before it is decoded.
class XmlText {
 public:
  constexpr XmlText() = default;
  constexpr XmlText(std::string_view text) : data_(text.data()), size_(text.size()) {}
  // A text that runs up to a NUL.
  static XmlText Terminated(const char* text) {
    XmlText t;
    t.data_ = text;
    t.size_ = kUntilNul;
    return t;
  }

  std::string_view View() const {
    return size_ == kUntilNul ? std::string_view(data_) : std::string_view(data_, size_);
  }
  operator std::string_view() const { return View(); }
  bool empty() const { return size_ == kUntilNul ? *data_ == '\0' : size_ == 0; }

 private:
  static constexpr std::size_t kUntilNul = static_cast<std::size_t>(-1);
  const char* data_ = "";
  std::size_t size_ = 0;
};

struct XmlNode {
  enum class Kind : unsigned char { Element, Attribute, Text, Comment, Other };
  Kind kind = Kind::Element;
  XmlText name;   // element or attribute name, UTF-8
  XmlText value;  // attribute value, or the text of a text/CDATA/comment node, UTF-8
  // An element's child nodes: its attributes first, in document order, then
  // its child elements, texts, comments and the like in document order.
  // Whitespace-only text nodes are left out.
  std::span<const XmlNode> children;
};

// Where the nodes and texts of one parsed document live. Blocks are never
// moved or resized, so every view handed out stays valid while the arena
// does. A back end derives from it to keep its own document beside.
class XmlArena {
 public:
  XmlArena() = default;
  XmlArena(const XmlArena&) = delete;
  XmlArena& operator=(const XmlArena&) = delete;
  virtual ~XmlArena() = default;

  // Room for `count` nodes side by side, default-initialised.
  std::span<XmlNode> NewNodes(std::size_t count) {
    if (count == 0) return {};
    if (nodes_.free < count) {
      const std::size_t size = count > kNodeBlock ? count : kNodeBlock;
      nodeBlocks_.push_back(std::make_unique<XmlNode[]>(size));
      nodes_ = {nodeBlocks_.back().get(), size};
    }
    const std::span<XmlNode> taken(nodes_.next, count);
    nodes_.next += count;
    nodes_.free -= count;
    return taken;
  }

  // Room for `count` bytes of text.
  char* NewChars(std::size_t count) {
    if (chars_.free < count) {
      const std::size_t size = count > kCharBlock ? count : kCharBlock;
      charBlocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
      chars_ = {charBlocks_.back().get(), size};
    }
    char* taken = chars_.next;
    chars_.next += count;
    chars_.free -= count;
    return taken;
  }

  std::string_view CopyText(std::string_view text) {
    if (text.empty()) return {};
    char* copy = NewChars(text.size());
    std::memcpy(copy, text.data(), text.size());
    return {copy, text.size()};
  }

 private:
  // Blocks stay below the size that the C library maps from the system for
  // each allocation, so that loading again reuses the heap's pages.
  static constexpr std::size_t kNodeBlock = 96 * 1024 / sizeof(XmlNode);
  static constexpr std::size_t kCharBlock = 64 * 1024;
  template <typename T>
  struct Cursor {
    T* next = nullptr;
    std::size_t free = 0;
  };
  std::vector<std::unique_ptr<XmlNode[]>> nodeBlocks_;
  std::vector<std::unique_ptr<char[]>> charBlocks_;
  Cursor<XmlNode> nodes_;
  Cursor<char> chars_;
};

struct XmlParseResult {
  bool ok = false;
  XmlNode root;       // the document element; its views point into `storage`
  std::string error;  // why the document could not be read, Windows-1251
  std::unique_ptr<XmlArena> storage;
};

class XmlReaderPort {
 public:
  virtual ~XmlReaderPort() = default;
  // Takes the file's bytes (moved in, so a back end may parse in place and
  // keep them in the result).
  virtual XmlParseResult Parse(std::string bytes) = 0;
};

}  // namespace qs
