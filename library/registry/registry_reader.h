#pragma once

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
void ReadRegistry(const platform::CXmlNode& root, CSrcObjectDatabase& database);

} // namespace orvane
