#pragma once

#include "object_database.h"

#include "library/html/text_util.h"

#include <memory>

namespace orvane {

// The records the registry file writes as attributes alone, built alike by
// both of its readers. Fields gives an attribute's value (Take) and whether
// it says "true" (Flag).

template <class Fields>
std::unique_ptr<CSrcTable> TableRecord(Fields& fields)
{
    auto table = std::make_unique<CSrcTable>(fields.Take("id"));
    table->SetLayout(EqualsIgnoreCase(fields.Take("type"), "layout"));
    table->SetRowHeaders(fields.Flag("rowheaders"));
    table->SetColumnHeaders(fields.Flag("colheaders"));
    table->SetRowHeaderAbbreviations(fields.Flag("rowheaders_abbrev"));
    table->SetColumnHeaderAbbreviations(fields.Flag("colheaders_abbrev"));
    table->SetLinearize(fields.Flag("linearize"));
    return table;
}

template <class Fields>
std::unique_ptr<CSrcApplet> AppletRecord(Fields& fields)
{
    auto applet = std::make_unique<CSrcApplet>(fields.Take("id"));
    applet->SetDescribed(fields.Flag("described"));
    return applet;
}

template <class Fields>
std::unique_ptr<CSrcImageMap> ImageMapRecord(Fields& fields)
{
    auto map = std::make_unique<CSrcImageMap>(fields.Take("title"));
    map->SetTextLinks(fields.Flag("textlinks"));
    return map;
}

template <class Fields>
std::unique_ptr<CSrcLink> LinkRecord(Fields& fields)
{
    auto link = std::make_unique<CSrcLink>(fields.Take("href"));
    link->SetHasWarning(fields.Flag("haswarning"));
    return link;
}

// An ASCII-art record without its descriptions, which follow as children.
template <class Fields>
std::unique_ptr<CSrcAsciiArt> AsciiArtRecord(Fields& fields)
{
    auto art = std::make_unique<CSrcAsciiArt>(fields.Take("id"));
    art->SetDescribed(fields.Flag("described"));
    art->SetSkipOverLink(fields.Flag("skipover_link"));
    return art;
}

} // namespace orvane
