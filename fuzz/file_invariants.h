#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::fuzz {

// The files users may edit by hand, each checked with what must hold for any
// bytes. Each function returns what failed, or an empty string; the ones that
// need files use the given folder, which they create and may fill.

// The bytes as the object registry file: a registry that loads is saved to a
// second file, which holds exactly the text the registry writes and loads
// again to the same records; every document is found by its name. A file
// that does not load leaves the registry empty.
std::string CheckRegistryFile(std::string_view bytes, const std::filesystem::path& folder);

// The bytes as the language code file, read from a stream and from a file
// alike: no code begins with white space, no field holds a comma or a line
// break, every non-empty code is valid, and the file cannot hold more records
// than it has pieces of a line.
std::string CheckLanguageCodes(std::string_view bytes, const std::filesystem::path& folder);

// The bytes as the settings store: the settings load from it within their
// limits; one changed setting is saved and every other value of the store,
// the ones the settings do not know included, reads back as before, and every
// line the store does not understand is kept as it stood; bytes that are no
// store are set aside unchanged instead; the settings then load again to the
// same record.
std::string CheckSettingsStore(std::string_view bytes, const std::filesystem::path& folder);

// The bytes as a server-side image map file: it is read unless it holds a
// NUL byte, its lines are right-trimmed pieces of at most 499 bytes, and the
// areas are usable exactly when one has a link. Spliced after the ismap image
// of a small page, the page writes back as before with the image's ismap
// turned into usemap="#nav.map" and the markup right after it; taken in
// afresh, that markup gives exactly the areas built. A second splice leaves
// the same page, and an undo the page as it was, byte for byte. A map with
// nothing usable leaves the page untouched.
std::string CheckImageMapFile(std::string_view bytes, const std::filesystem::path& folder);

} // namespace orvane::fuzz
