// The settings file's XML read with the system's XmlLite into the node tree.
#pragma once

#include "platform/xml_reader.h"

namespace qs::win32 {

class XmlLiteReader : public XmlReaderPort {
 public:
  // Deeper documents are refused rather than walked.
  static constexpr int kMaxDepth = 1000;

  XmlParseResult Parse(std::string bytes) override;
};

}  // namespace qs::win32
