#pragma once

#include "library/ui/page_validator_base.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CDocumentFolder;
class CHtmlDocument;
struct CAnchorTextHolder;

// Links whose text alone does not tell where they lead (a "more" beside
// every article, two links of one text to different places): a screen
// reader's list of links gives the listener nothing to choose by. Where the
// text stays, a title that names the target tells the links apart. The page
// lists the links the link text review marks so, proposes for each the title
// of the page it leads to (or, for a page out of reach, the last part of its
// address) and writes what the user accepts or types into the link's title.
class CPageAnchorTitle final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 140;
    static constexpr int kLinks = 1370;
    static constexpr int kTitle = 1371;
    static constexpr int kExplanation = 1372;
    static constexpr int kPreview = 1373;
    static constexpr int kColumnText = 0, kColumnTarget = 1, kColumnTitle = 2;

    explicit CPageAnchorTitle(CHtmlDocument& document);
    ~CPageAnchorTitle() override;
    std::string_view ClassName() const override { return "CPageAnchorTitle"; }

    bool Apply() override;
    void Undo() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // Whether a link of the page has a text that does not tell its target apart.
    static bool HasLinksToTell(const CHtmlDocument& document);
    // The title proposed for a link to the address: the title of the local
    // page it names, else the last part of its address, else its host.
    static std::string ProposedTitle(std::string_view href, const CDocumentFolder& folder);

protected:
    void Initialise() override;
    void Destroyed() override;

private:
    struct Row {
        CAnchorTextHolder* holder = nullptr;
        CAttribute* title = nullptr;
        std::string typed;
        bool written = false;
    };

    void CollectRows();
    void FillRows();
    void ShowRow(int row);
    void KeepTypedTitle();
    void SelectRow(int row);
    void TakeBack();
    std::string ProposedFor(std::string_view href);

    CHtmlDocument& m_document;
    std::vector<std::unique_ptr<CAnchorTextHolder>> m_holders;
    std::vector<Row> m_rows;
    // The proposal of each target, found once for the links that share it.
    std::map<std::string, std::string, std::less<>> m_proposals;
    bool m_collected = false;
    bool m_written = false;
    int m_shownRow = -1;
};

} // namespace orvane
