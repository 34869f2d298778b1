#pragma once

#include <string>

namespace orvane {

// An image map of a document and whether it has text links beside it. Image
// maps have no key: every record is kept as it comes.
class CSrcImageMap {
public:
    CSrcImageMap() = default;
    explicit CSrcImageMap(std::string title) : m_title(std::move(title)) {}

    const std::string& Title() const { return m_title; }
    void SetTitle(std::string title);
    bool HasTextLinks() const { return m_textLinks; }
    void SetTextLinks(bool textLinks);

private:
    std::string m_title;
    bool m_textLinks = false;
};

} // namespace orvane
