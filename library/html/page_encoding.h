#pragma once

#include <string>
#include <string_view>

namespace orvane {

// How a page's bytes are to be read, found as a browser finds it.
struct PageEncoding {
    enum class Source {
        ByteOrderMark,   // the bytes start with one
        Declaration,     // <meta charset>, http-equiv Content-Type, or the XML declaration
        Utf8Content,     // undeclared, and the bytes are valid UTF-8
        Fallback,        // undeclared and not UTF-8: windows-1252
    };

    // What the bytes are read as: the encoding's standard name
    // ("windows-1252" for a page declaring "iso-8859-1", as browsers read it).
    std::string name = "UTF-8";
    // What text is written into the page as: the encoding the page declares
    // where the converter knows it, so a page declaring ISO-8859-1 gets no
    // byte only windows-1252 defines, and the bytes a repair leaves stand as
    // they did. "US-ASCII" for an undeclared page of ASCII alone: whatever a
    // browser takes it for, character references read the same.
    std::string writeName = "UTF-8";
    // The label as the page wrote it; empty when it declares none.
    std::string declared;
    Source source = Source::Utf8Content;

    bool ReadsAsUtf8() const { return name == "UTF-8"; }
    bool WritesAsUtf8() const { return writeName == "UTF-8"; }
};

// The standard name of an encoding label, by the HTML standard's table of
// labels ("latin1" -> "windows-1252"); empty when the label names none.
std::string EncodingForLabel(std::string_view label);

// The converter's name of a standard encoding (the standard's encodings are
// the wider ones browsers read: "Shift_JIS" is converted as "CP932").
std::string ConverterName(std::string_view standard);

// The encoding a declaration in the page's first 1024 bytes names: a byte
// order mark, then the XML declaration, then a <meta charset> or a
// <meta http-equiv="Content-Type" content="...; charset=...">. Source says
// which; false when none does.
bool FindDeclaredEncoding(std::string_view head, PageEncoding& found);

// Whether the bytes are valid UTF-8; *nonAscii says whether any byte was
// beyond ASCII.
bool IsValidUtf8(std::string_view bytes, bool* nonAscii = nullptr);

// The whole sniff over a page held as one text.
PageEncoding SniffPageEncoding(std::string_view page);

} // namespace orvane
