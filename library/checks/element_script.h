#pragma once

#include "check_info.h"

#include <vector>

namespace orvane {

class CAttribute;

// An element of the page whose event handler or javascript: address opens a
// new window through a script, and where a warning of it can be written.
struct WindowTrigger {
    CElement* element = nullptr;
    // The handler or address that opens the window.
    CAttribute* handler = nullptr;
    // Before the end tag of a link or button: a text deleted until the
    // warning is written into it. Null when the element shows no text of its own.
    CElement* preparedText = nullptr;
    // The caption of a button made by an input element, where its warning goes.
    CAttribute* caption = nullptr;
    bool TakesText() const { return preparedText || caption; }
};

// The element family of a script.
class CElementScript : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    void AttachInner(CElement& inner) override;
    // The texts and comment pieces inside the script, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

    // The noscript section that serves the script, and the placeholder text found in it.
    CElement* Noscript() const { return m_noscript; }
    CElement* NoscriptPlaceholder() const { return m_placeholder; }
    // Whether the element readied for the repair page lies inside the
    // noscript found (which then needs only content), or stands alone (and
    // writes a noscript section of its own).
    bool PreparedInsideNoscript() const { return m_preparedInside; }

    static constexpr std::uint32_t kNewWindowBit = 0x2;
    // The script's code, its pieces joined.
    std::string Code() const;
    // The page's elements that open a window through this script (or, for
    // the first such script of the page, by opening one themselves), in page
    // order; readied with the new-window repair page.
    const std::vector<WindowTrigger>& WindowTriggers() const { return m_triggers; }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool HasRealNoscript(const CHtmlDocument& document);
    // Where a noscript section of the script's own goes: in the body, after
    // the script or after the paragraph (or other element of inline content)
    // around it; for a script in the head, at the start of the body (after
    // its first content when the page has no body tag); null when the page
    // has no body content to follow.
    const CElement* PlaceForNoscript(const CHtmlDocument& document) const;
    bool PrepareWindowTriggers(CHtmlDocument& document);

    std::vector<CElement*> m_inner;
    CElement* m_noscript = nullptr;
    CElement* m_placeholder = nullptr;
    CElement* m_prepared = nullptr;
    CElement* m_preparedPlaceholder = nullptr;
    bool m_preparedInside = false;
    std::vector<WindowTrigger> m_triggers;
    bool m_triggersPrepared = false;
};

} // namespace orvane
