#pragma once

#include <string_view>

namespace orvane {

class CSrcObjectDatabase;

// Reads a registry file laid out as this version writes it (UTF-8, one
// record a line, attributes in double quotes) without building a tree: a
// site's registry of ten thousand records is read for every page of a run.
//
// Only what the full XML reader would read the same way is taken: anything
// else (another encoding, comments, elements or text the writer never
// writes, a line break inside a tag, bytes that are not valid UTF-8) makes it
// return false, and the caller reads the file with the XML reader instead,
// which also decides whether the file is damaged. On false the database may
// hold part of the records and is to be cleared. On true it holds what
// ReadRegistry would have added from the same bytes.
bool ReadRegistryLines(std::string_view bytes, CSrcObjectDatabase& database);

} // namespace orvane
