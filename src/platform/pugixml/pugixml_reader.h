// The XML reader on platforms without XmlLite: pugixml into the node tree.
#pragma once

#include "platform/xml_reader.h"

namespace qs {

class PugiXmlReader : public XmlReaderPort {
 public:
  XmlParseResult Parse(std::string bytes) override;
};

}  // namespace qs
