#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

class CAttribute;
class CHtmlDocument;
class CSrcLink;

// A link that opens a new window without saying so: a user who cannot see
// the new window comes to a page whose Back button does nothing. The link
// either opens in the same window (its target goes), or keeps its new window
// and says so, at the end of its text or in its title. Links of one page take
// one decision alike, through the sheet's option box; a warned link is
// recorded in the object registry so it is not reported again.
class CPageAnchorNewWindow final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1322;
    static constexpr int kRemoveTarget = 1350;
    static constexpr int kSayInText = 1351;
    static constexpr int kSayInTitle = 1352;
    static constexpr int kWarning = 1353;
    static constexpr int kAddress = 1354;
    static constexpr int kTarget = 1355;
    static constexpr int kPreview = 1356;

    // preparedText: a text element before the link's end tag, deleted until
    // used; null for a link without an end tag (it cannot take a text).
    CPageAnchorNewWindow(CAttribute& target, CAttribute& title, CElement* preparedText, CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageAnchorNewWindow"; }
    bool IsSameKind(const CPageValidatorBase& other) const override { return IsOfClass<CPageAnchorNewWindow>(other); }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    // The decision written into this page's link; the warning text as typed.
    void Write(int choice, std::string_view warning);
    void TakeBack();
    void RecordWarning(bool warned);
    void ShowChoice(platform::IWindow& window);
    void ShowPreview();

    CAttribute& m_target;
    CAttribute& m_title;
    CElement* m_prepared;
    CHtmlDocument& m_document;
    bool m_opened = false;
    int m_choice = kSayInText;
    std::string m_warning;
    bool m_elementWasModified = false;
    bool m_targetWasHideable = false;
    bool m_written = false;
    // The title as it stood before this page wrote it.
    struct TitleState {
        std::string value;
        bool hidden = true;
        bool changed = false;
    } m_titleBefore;
    // The registry's record of the link while it is warned of here, and its flag before.
    CSrcLink* m_link = nullptr;
    bool m_linkHadWarning = false;
};

} // namespace orvane
