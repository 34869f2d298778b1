#pragma once

#include "library/html/page_encoding.h"

#include <string>
#include <string_view>

namespace orvane {

// Texts the link pages write into the page as markup of their own.
namespace linkmarkup {

// A typed text as element content or an attribute value in double quotes,
// in the page's encoding: & < > " become references, so nothing typed is
// read as a tag or ends a value, and what was typed reads back as typed.
std::string Escaped(std::string_view text, const PageEncoding& encoding);

// An address as an href value in double quotes, as the page keeps it: an
// "&amp;" in it stays one; only a quote, which would end the value early,
// becomes a reference.
std::string HrefValue(std::string_view address);

// The markup with every "\n" written as the page ends its lines.
std::string WithLineEnds(std::string_view markup, std::string_view lineEnd);

} // namespace linkmarkup
} // namespace orvane
