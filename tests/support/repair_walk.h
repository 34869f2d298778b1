#pragma once

// A repair run walked as a user walks it, and what every such run must leave
// behind. The test of every page and the fuzz target on generated pages both
// walk pages through here:
//
//   COrvaneSettings settings;  // loaded, at the level to check at
//   RepairWalk walk = WalkRepairs(page, "/folder/page.html", settings, {});
//   EXPECT_EQ(walk.failure, "");
//
// The page is checked, the wizard opens on every problem that counts at the
// settings' level (as the overview's "repair all" opens it), every page is
// answered, Finish is pressed, and the page written is held against the
// original:
//   1. nothing else changes: every element outside those the repairs name
//      writes the bytes it had, where it had them, and words typed go in in
//      the page's own encoding;
//   2. the markup stays well-formed where it was: no more unpaired tags,
//      blocks in paragraphs, links in links, paragraphs or noscript content
//      in the head, or ids used twice than the page had;
//   3. the problem is gone: checked again, no check reports more problems
//      than it had less those the run marked repaired;
//   4. undo is exact: every page undone, last first, gives back the page as
//      it was before that page was answered, and all of them the bytes of
//      the original (the page's encoding among them).

#include <string>
#include <string_view>
#include <vector>

namespace orvane {
class COrvaneSettings;
}

namespace orvane::test {

// Words for WalkAnswers::typed: a character a Latin-1 page holds and one it
// must write as a character reference.
inline constexpr std::string_view kWrittenWords = "Fähre im Hafen – ab 6 Uhr";

// How the user answers each page of the wizard.
struct WalkAnswers {
    // 0: what the page proposes. n: the page's n-th radio button (in the
    // order of the template), on pages that offer that many; the proposal
    // on the others.
    int radio = 0;
    // Untick the option box where the sheet offers it (a page that merged
    // the later pages of its kind repairs its own element only).
    bool unmerge = false;
    // The type tables nobody classified are taken as (a table_type), as
    // `orvane check --tables data` takes them; 0 leaves them unclassified,
    // without the checks of either type.
    int tables = 0;
    // The words of a user who writes the texts the pages ask for: typed,
    // as the page is first shown, into its first empty field that takes
    // words (a line, a text box or a combo box one may type into), where a
    // text alternative, a label or a title goes. Empty: the pages' own
    // proposals are taken, and a text is typed only where a page will not
    // go on without one.
    std::string_view typed = {};
    // Which of the four assertions above to make (bit n-1 for assertion n).
    unsigned assertions = 0xF;
};

struct RepairWalk {
    // What failed of assertions 1, 2 and 4, or empty.
    std::string failure;
    // What failed of assertion 3, and the check still reported; empty when
    // it held. Kept apart, so that the undo is tried all the same.
    std::string stillReported;
    std::string stillReportedCheck;
    // Pages of the wizard, and those whose answer the page refused (they are
    // skipped, as a user who cannot answer skips them).
    int pages = 0;
    int refused = 0;
    // The most radio buttons any page offered: the walks with other answers
    // go up to it.
    int mostRadios = 0;
    // The option box was offered on some page.
    bool offeredMerge = false;
    // The page as Finish wrote it.
    std::string written;
    // The checks whose problems the run marked repaired, one entry per problem.
    std::vector<std::string> repaired;
};

// Walks the repairs of the page as saved at path (its folder takes the files
// the pages write). Installs windows of its own while it runs.
RepairWalk WalkRepairs(std::string_view page, const std::string& path, COrvaneSettings& settings,
                       const WalkAnswers& answers);

} // namespace orvane::test
