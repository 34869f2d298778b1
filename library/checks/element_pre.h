#pragma once

#include "check_info.h"

#include <string>

namespace orvane {

// The element family of preformatted text.
class CElementPre : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;

    // Found by the check: whether the block is ASCII art, the digest it is
    // known by in the object registry, and the start of its text.
    bool IsAsciiArt() const { return m_isAsciiArt; }
    const std::string& ArtId() const { return m_artId; }
    const std::string& ArtPreview() const { return m_artPreview; }

    static constexpr std::uint32_t kDescriptionBit = 0x1;
    static constexpr std::uint32_t kSkipOverBit = 0x2;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool m_isAsciiArt = false;
    std::string m_artId;
    std::string m_artPreview;
    // Made for the repairs, deleted until a page writes them: the link to the
    // description before the block, the link over it and the link's target after it.
    CElement* m_descriptionLink = nullptr;
    CElement* m_skipLink = nullptr;
    CElement* m_skipTarget = nullptr;
};

} // namespace orvane
