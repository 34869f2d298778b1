#pragma once

#include "check_info.h"

#include <string>

namespace orvane {

// Whether a browser turns Enter on the element into its click: links and
// areas with an address, buttons and form controls. Their onclick needs no key
// handler of its own (one would run the script twice).
bool KeyboardActivates(const CElement& element);

// The element family of the page as a whole: the document-level checks.
class CElementDocument : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;

    // Found by the check: the page's file name, its (last) html element, its
    // head and its title element.
    const std::string& PageFileName() const { return m_fileName; }
    CElement* HtmlElement() const { return m_html; }
    CElement* HeadElement() const { return m_head; }
    CElement* TitleElement() const { return m_title; }

    static constexpr std::uint32_t kDoctypeBit = 0x1;
    static constexpr std::uint32_t kMetadataBit = 0x200;

    // What the metadata repair fills in, readied once and deleted until it
    // repairs; the head's two tags only when the page had no head.
    struct PreparedMetadata {
        CElement* title = nullptr;
        CElement* description = nullptr;
        CElement* keywords = nullptr;
        CElement* headStart = nullptr;
        CElement* headEnd = nullptr;
        // The title is a whole new element, not the text of an empty one.
        bool titleIsNew = true;
    };
    const PreparedMetadata& Metadata() const { return m_metadata; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool HasNoDoctype(const CHtmlDocument& document) const;
    std::uint32_t CheckStyle(const CHtmlDocument& document) const;
    bool HasDynamicContent(const CHtmlDocument& document) const;
    bool HasMultimedia(const CHtmlDocument& document) const;
    bool HasTextLinks(const CHtmlDocument& document) const;
    bool HasDeviceDependentEvents(const CHtmlDocument& document) const;
    bool HasMetadata(const CHtmlDocument& document);

    std::string m_fileName;
    CElement* m_html = nullptr;
    CElement* m_head = nullptr;
    CElement* m_title = nullptr;
    // The declaration a repair puts at the top, deleted until it does.
    CElement* m_preparedDoctype = nullptr;
    // A declaration that stood too late in the page to count, which the repair takes out.
    CElement* m_misplacedDoctype = nullptr;
    PreparedMetadata m_metadata;
    bool PrepareMetadata(RepairPageRequest& request);
};

} // namespace orvane
