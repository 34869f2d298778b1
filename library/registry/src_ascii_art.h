#pragma once

#include "src_long_desc.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// A block of ASCII art of a document, known by the digest of its text: whether
// it is described, whether a link lets readers skip over it, and the long
// descriptions known for it.
class CSrcAsciiArt {
public:
    CSrcAsciiArt() = default;
    explicit CSrcAsciiArt(std::string id) : m_id(std::move(id)) {}

    const std::string& Id() const { return m_id; }
    void SetId(std::string id);
    bool IsDescribed() const { return m_described; }
    void SetDescribed(bool described);
    bool HasSkipOverLink() const { return m_skipOverLink; }
    void SetSkipOverLink(bool skipOverLink);

    const SrcLongDescList& LongDescs() const { return m_longDescs; }
    CSrcLongDesc* FindLongDesc(std::string_view value) const { return orvane::FindLongDesc(m_longDescs, value); }
    CSrcLongDesc* AddLongDesc(std::unique_ptr<CSrcLongDesc> longDesc);
    // Takes that one out again; false when it is not one of this block's.
    bool RemoveLongDesc(const CSrcLongDesc* longDesc);

private:
    std::string m_id;
    bool m_described = false;
    bool m_skipOverLink = false;
    SrcLongDescList m_longDescs;
};

} // namespace orvane
