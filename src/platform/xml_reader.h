// A parsed XML document as one small tree that the settings reader walks.
// Both back ends (XmlLite on Windows, pugixml elsewhere) fill it the same
// way, so the reader's leniency does not depend on the platform.
#pragma once

#include <string>
#include <vector>

namespace qs {

struct XmlNode {
  enum class Kind { Element, Attribute, Text, Comment, Other };
  Kind kind = Kind::Element;
  std::string name;   // element or attribute name, UTF-8
  std::string value;  // attribute value, or the text of a text/CDATA node, UTF-8
  // An element's child nodes: its attributes first, in document order, then
  // its child elements, texts, comments and the like in document order.
  // Whitespace-only text nodes are left out.
  std::vector<XmlNode> children;
};

struct XmlParseResult {
  bool ok = false;
  XmlNode root;       // the document element
  std::string error;  // why the document could not be read, Windows-1251
};

class XmlReaderPort {
 public:
  virtual ~XmlReaderPort() = default;
  // Takes the file's bytes (moved in, so a back end may parse in place).
  virtual XmlParseResult Parse(std::string bytes) = 0;
};

}  // namespace qs
