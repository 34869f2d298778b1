#pragma once

#include "check_info.h"

#include <string>

namespace orvane {

// The element family of preformatted text.
class CElementPre : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit) const override;

    // Found by the check: whether the block is ASCII art, the digest it is
    // known by in the object registry, and the start of its text.
    bool IsAsciiArt() const { return m_isAsciiArt; }
    const std::string& ArtId() const { return m_artId; }
    const std::string& ArtPreview() const { return m_artPreview; }

private:
    bool m_isAsciiArt = false;
    std::string m_artId;
    std::string m_artPreview;
};

} // namespace orvane
