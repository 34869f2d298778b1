#pragma once

#include "check_info.h"
#include "library/html/attribute_table.h"

#include <vector>

namespace orvane {

// The element family of a link (a).
class CElementAnchor : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const override;
    // What the link shows: its texts, and for each image with a source the
    // image text (string 441) naming it; trimmed.
    // The link's text as the page holds it: its text runs and the words
    // naming its images, to tell whether it has any.
    std::string LinkText() const;
    // The same as the user reads it.
    std::string UserLinkText(const PageEncoding& encoding) const;
    void AttachInner(CElement& inner) override;
    // The texts and images inside the link, in document order (not owned).
    const std::vector<CElement*>& Inner() const { return m_inner; }

    // 1 on the first and 2 on the last link of a run that needs a skip-over link.
    int SkipOverMark() const { return m_skipOverMark; }
    void SetSkipOverMark(int mark) { m_skipOverMark = mark; }

    static constexpr std::uint32_t kNewWindowBit = 0x2;

    // The link's title as a repair gives it one: made hidden when missing,
    // its value before the first repair kept for an undo; null when it
    // cannot be added.
    CAttribute* TitleToRepair() { return AttributeToRepair(attr::kTitle); }

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    bool PrepareTranscriptLink(RepairPageRequest& request);
    bool PrepareNewWindowText(RepairPageRequest& request);

    // The link to the transcript, right after the link's end tag; made once.
    CElement* m_transcriptLink = nullptr;
    std::vector<CElement*> m_inner;
    // The text a new-window page may write at the end of the link, deleted until it does.
    CElement* m_preparedText = nullptr;
    int m_skipOverMark = 0;
};

} // namespace orvane
