#pragma once

#include <string>
#include <string_view>

namespace orvane {

namespace platform {
class CXmlNode;
}

class CSrcObjectDatabase;

// True when the element is a registry root (named "root", letter case aside).
bool IsRegistryRoot(const platform::CXmlNode& root);

// Adds the records below the root element of a registry file, with the
// registry's rules for keys met twice: images are merged, a second document
// of a name is dropped whole, and so are second tables, applets, links and
// ASCII-art blocks of a key within a document. Nodes it does not know are
// skipped; a missing attribute reads as empty, a missing flag as false.
//
// Texts are kept in UTF-8. A file declaring ISO-8859-1 was written by an
// older version that stored each text's bytes as they came in: typed text in
// UTF-8, page text in the page's single-byte encoding. Such a text is taken
// as UTF-8 where its bytes are valid UTF-8 (page text rarely is: it would
// need pairs like "\xc3\xa9"), otherwise as windows-1252, which is how its
// pages were read. An image's file name, texts and description addresses,
// an applet's code, a link's address and an image map's name came from pages
// as they stood, so their character references are resolved.
void ReadRegistry(const platform::CXmlNode& root, CSrcObjectDatabase& database,
                  std::string_view declaredEncoding = {});

// Whether a registry file declaring this encoding was written byte for byte
// by an older version (see ReadRegistry).
bool IsLegacyRegistryEncoding(std::string_view declaredEncoding);

// One text of such a file, as the parser gave it in UTF-8 from the declared
// ISO-8859-1, made the text it was meant to be.
std::string LegacyRegistryText(std::string_view parsed);

} // namespace orvane
