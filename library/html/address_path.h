#pragma once

#include <string>
#include <string_view>

namespace orvane {

// How local paths are written: native POSIX paths ("/home/u/site/") or the
// drive-and-backslash form of Windows ("C:\site\"). Addresses written into
// pages always use forward slashes.
enum class PathStyle { Posix, Windows };

struct SplitPath {
    std::string drive;      // "C:" on Windows, always empty on POSIX
    std::string directory;  // with its leading and trailing separator
    std::string fileName;
    std::string extension;  // with its leading dot
};

// True for an address that is not a name in the page's folder: one with a
// scheme ("https:", "mailto:", "file:"; a single letter is a drive, not a
// scheme), a network-path reference ("//host/x") or a site-absolute path ("/x").
bool IsAbsoluteAddress(std::string_view address);

// The local file an address in a page stands for, relative to the page's
// folder (ending with a separator). Empty when it cannot be resolved; an
// absolute address other than a "file:" one is refused with a message.
std::string AddressToPath(std::string_view baseDirectory, std::string_view address,
                          PathStyle style = PathStyle::Posix);

// The address to write into a page for a local file: relative to the page's
// folder where possible, else a "file:" address.
std::string PathToAddress(std::string_view baseDirectory, std::string_view filePath,
                          PathStyle style = PathStyle::Posix);

// Takes a "file://" address (its slashes already turned into the style's
// separator) apart; false, with all parts empty, for any other form.
bool SplitFileAddress(std::string_view address, SplitPath& parts, PathStyle style = PathStyle::Posix);

// Splits a local path into its parts.
SplitPath SplitLocalPath(std::string_view path, PathStyle style = PathStyle::Posix);

} // namespace orvane
