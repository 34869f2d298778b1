#pragma once

#include "library/ui/page_validator_base.h"

#include "library/checks/element_script.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CHtmlDocument;

// A script that opens a new window unannounced: a user who does not see the
// window open finds that Back does nothing. The page shows the script and
// the elements that start it. A link or button that starts it says so at
// the end of its text, in words the page proposes in the page's language
// and the user may change; an element that shows no text (the body when the
// page loads) cannot, and the user confirms that the page says it elsewhere.
class CPageScriptNewWindow final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1323;
    static constexpr int kCode = 1360;
    static constexpr int kTriggers = 1361;
    static constexpr int kWords = 1362;
    static constexpr int kExplanation = 1363;
    static constexpr int kPreview = 1364;
    static constexpr int kElsewhere = 1365;

    CPageScriptNewWindow(std::vector<WindowTrigger> triggers, CHtmlDocument& document, std::string code);
    std::string_view ClassName() const override { return "CPageScriptNewWindow"; }

    void Undo() override;
    bool Apply() override;
    // The check reads the script, which opens its windows still: the
    // announcement written beside each trigger, or the user's word that the
    // page says so elsewhere, settles the problem as a judgement the check
    // cannot see.
    bool AnswerIsJudgement() const override { return Status() == pagestatus::kRepaired; }
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // The words proposed for the page: in its own language where it names
    // English or German, else in the language of the program.
    static std::string ProposedWords(const CHtmlDocument& document);

protected:
    void Initialise() override;

private:
    struct Row {
        WindowTrigger trigger;
        std::string words;
    };

    void FillRows();
    void ShowRow(int row);
    void KeepTypedWords();
    void Write();
    void TakeBack();
    std::string RowText(const Row& row) const;
    std::string WordsColumn(const Row& row) const;
    bool NeedsJudgement() const;

    std::vector<Row> m_rows;
    CHtmlDocument& m_document;
    std::string m_code;
    bool m_opened = false;
    bool m_written = false;
    bool m_announcedElsewhere = false;
    int m_shownRow = -1;
};

} // namespace orvane
