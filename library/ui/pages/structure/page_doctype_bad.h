#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>

namespace orvane {

// Puts a document type declaration at the top of a page that lacks one: one
// of the three HTML 4.01 declarations, or the user's own, which is remembered
// and proposed again for the next page. The declaration element was inserted
// by the document family, deleted until this page repairs. Where nothing is
// remembered, the page proposes (and the automatic repair writes) the
// declaration that keeps how browsers show the page: see QuirksDeclaration.
class CPageDoctypeBad final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1311;
    static constexpr int kFrameset = 1329;
    static constexpr int kTransitional = 1330;
    static constexpr int kStrict = 1331;
    static constexpr int kOwn = 1332;
    static constexpr int kOwnText = 1333;
    static constexpr int kPreview = 1334;

    // misplaced: a declaration further down the page, taken out while the repair holds; may be null.
    // frameset: the page is a frameset.
    CPageDoctypeBad(CElement& preparedDeclaration, CElement* misplaced, std::string_view lineEnd, bool frameset);
    std::string_view ClassName() const override { return "CPageDoctypeBad"; }
    // The declaration further down that the repair takes out; null for none.
    const CElement* Misplaced() const { return m_misplaced; }

    void Undo() override;
    bool Apply() override;
    bool RepairAutomatically() override;

    // The declaration of a radio button 1329 to 1331, without line end; empty for others.
    static std::string_view Declaration(int choice);
    // The declaration of a page that has none, or one too late to count: such a
    // page is shown in quirks mode, and a declaration that switched it to
    // standards mode would change how it looks. HTML 4.01 Transitional (or
    // Frameset, for a frameset) without its system identifier keeps browsers
    // in quirks mode, as the page was.
    static std::string_view QuirksDeclaration(bool frameset);

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

protected:
    void Initialise() override;

private:
    // The own text enabled with its radio button, and the declaration chosen shown.
    void ShowChoice(platform::IWindow& window);
    void Write(std::string_view declaration);

    CElement& m_prepared;
    CElement* m_misplaced;
    std::string m_lineEnd;
    bool m_opened = false;
    int m_choice = kFrameset;
    std::string m_ownText;
    bool m_frameset = false;
    // Nothing was remembered when the page opened: what it proposes is no choice of the user's.
    bool m_proposed = false;
};

} // namespace orvane
