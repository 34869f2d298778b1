#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

class CAttribute;

// What the refresh and the redirect page share: the meta element's refresh is
// taken out (its http-equiv and content hidden, or the whole element when it
// holds nothing else), and a plain link to the target may take its place in
// the paragraph the meta family inserted, deleted until the page writes it.
class CPageMetaRefreshBase : public CPageValidatorBase {
public:
    static constexpr int kRemove = 1340;
    static constexpr int kAddLink = 1341;
    static constexpr int kAddressLabel = 1342;
    static constexpr int kAddress = 1343;
    static constexpr int kLinkTextLabel = 1344;
    static constexpr int kLinkText = 1345;
    static constexpr int kMarkup = 1347;

    struct Texts {
        int instruction;
        std::string_view helpTopic;
        int linkText;
    };

    void Undo() override;
    bool Apply() override;
    bool RepairAutomatically() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // The paragraph written for the link, with the page's line ends.
    static std::string LinkMarkup(std::string_view address, std::string_view text, std::string_view lineEnd,
                                  const PageEncoding& encoding);

protected:
    // link: the paragraph the family inserted; null when the refresh names no target.
    CPageMetaRefreshBase(int templateId, const Texts& texts, CAttribute& httpEquiv, CAttribute& content,
                         CElement* link, std::string target, std::string_view lineEnd);
    void Initialise() override;

private:
    void TakeRefreshOut();
    void PutRefreshBack();
    void WriteLink(std::string_view address, std::string_view text);
    void EnableLinkControls(platform::IWindow& window);

    Texts m_texts;
    CAttribute& m_httpEquiv;
    CAttribute& m_content;
    CElement* m_link;
    std::string m_lineEnd;
    bool m_opened = false;
    bool m_remove = true;
    bool m_addLink = true;
    // The target as the page writes it until the user has given one.
    std::string m_address;
    bool m_addressTyped = false;
    // The target as the user reads it.
    std::string Address() const { return m_addressTyped ? m_address : UserText(m_address); }
    std::string m_linkText;
};

} // namespace orvane
