// Makes the XML readers of every platform see the same document.
//
// Windows' XmlLite accepts a declaration naming a single-byte encoding such
// as encoding="windows-1251"; Wine's rejects it, and pugixml knows none but
// Latin-1. Every name and value of Settings.xml is ASCII, so nothing valid
// depends on the declared encoding: both XML back ends pass the file's bytes
// through NormalizeXmlEncoding before parsing and read UTF-8 only.
#pragma once

#include <string>

namespace qs {

// Contract:
// - UTF-16 input, told by its byte order mark (FF FE, FE FF) or, without
//   one, by a document that starts with '<' as a UTF-16 unit, is converted
//   to UTF-8 without a byte order mark (unpaired surrogates become U+FFFD,
//   an odd last byte is dropped).
// - When the document then starts (after an optional UTF-8 byte order mark)
//   with an XML declaration whose encoding pseudo-attribute names anything
//   other than UTF-8, that pseudo-attribute is removed. For 8-bit input
//   every byte from 0x80 on after the byte order mark also becomes '?',
//   since its meaning in the named code page is unknown to the reader; text
//   that was converted from UTF-16 keeps its characters.
// - Everything else is returned as it came, without a copy; a malformed
//   declaration is left for the parser to report.
// The result is UTF-8 (or plain ASCII) whose declaration, if any, names no
// encoding but UTF-8.
std::string NormalizeXmlEncoding(std::string bytes);

}  // namespace qs
