#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace orvane {

class CSrcObjectDatabase;

// The text of the registry file: an XML declaration naming UTF-8, a root
// element, all images, then all documents. Values are escaped, so a parser
// reads every one back unchanged; a value that is not UTF-8 is written as
// its bytes read in windows-1252.
std::string RegistryText(const CSrcObjectDatabase& database);
bool WriteRegistry(std::ostream& out, const CSrcObjectDatabase& database);

// An attribute value between double quotes: markup characters become
// references, and so do tabs and line breaks, which a parser would otherwise
// turn into blanks. Control characters and the noncharacters U+FFFE and
// U+FFFF, which XML cannot carry, are left out.
void AppendAttributeValue(std::string& out, std::string_view value);

// Text as CDATA: a "]]>" inside is split over two sections, and a carriage
// return, which a parser would fold into the line feed, goes between
// sections as a reference.
void AppendCData(std::string& out, std::string_view text);

} // namespace orvane
