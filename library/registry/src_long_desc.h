#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A long description known for an image or an ASCII-art block: its address
// as the page wrote it, and the description's text when it is known.
class CSrcLongDesc {
public:
    CSrcLongDesc() = default;
    explicit CSrcLongDesc(std::string value, std::string text = {});

    const std::string& Value() const { return m_value; }
    void SetValue(std::string value);
    const std::string& Text() const { return m_text; }
    void SetText(std::string text);

    // Long descriptions are one when their addresses differ only in letter case.
    bool HasValue(std::string_view value) const;

private:
    std::string m_value;
    std::string m_text;
};

// The owned long descriptions of an image or an ASCII-art block, in the order met.
using SrcLongDescList = std::vector<std::unique_ptr<CSrcLongDesc>>;

// The first long description with that address, letter case aside; null when none.
CSrcLongDesc* FindLongDesc(const SrcLongDescList& list, std::string_view value);

} // namespace orvane
