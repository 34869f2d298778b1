#pragma once

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "library/html/lang_codes.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace orvane::test {

// A page checked as the overview checks it, with the library's strings the
// checks compare against and every check applying.
class CheckedPage : public ::testing::Test {
protected:
    CheckedPage()
    {
        strings.Parse("199\tThis page uses frames.\n200\tThis page uses scripts.\n"
                      "306\tSkip over the ASCII art\n307\tDescription of the ASCII art\n441\t[image %1]\n");
        std::istringstream codes("en,eng,English\nde,deu,German\nfr,fra,French\n");
        CLanguageCodeList::Library().Free();
        CLanguageCodeList::Library().Load(codes);
        settings.SetConformanceLevel(3);
    }
    ~CheckedPage() override { CLanguageCodeList::Library().Free(); }

    // Checks the page, read as a file is read, and returns the names of the
    // problems found.
    std::multiset<std::string> Check(std::string_view page, CSrcObjectDatabase* registry = nullptr)
    {
        document.Start(1, false);
        document.SetName("page.html");
        std::istringstream in{std::string(page)};
        EXPECT_EQ(document.Load(in), 1) << page;
        found = RunCheckPass(document, settings, registry);
        std::multiset<std::string> names;
        for (const CFoundProblem& problem : found)
            names.insert(problem.element->GetCheckName(problem.bit));
        return names;
    }

    bool Reports(std::string_view page, const std::string& name) { return Check(page).count(name) > 0; }

    // The page checked; each check of the table reports that many problems.
    void ExpectFound(std::string_view page, std::initializer_list<std::pair<std::string, std::size_t>> counts)
    {
        SCOPED_TRACE(page);
        const std::multiset<std::string> names = Check(page);
        for (const auto& [name, count] : counts)
            EXPECT_EQ(names.count(name), count) << name;
    }

    // A page, and whether the check reports a problem on it.
    struct Verdict {
        std::string page;
        bool reported;
    };

    // Each page checked on its own; the check reports a problem on those the table says.
    void ExpectVerdicts(const std::string& name, std::initializer_list<Verdict> table)
    {
        for (const Verdict& verdict : table) {
            SCOPED_TRACE(verdict.page);
            EXPECT_EQ(Reports(verdict.page, name), verdict.reported);
        }
    }

    // The first element of a kind.
    CElement* First(int kind) const
    {
        for (CElement* e : document.Elements()) {
            if (e->Kind() == kind)
                return e;
        }
        return nullptr;
    }

    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
    std::vector<CFoundProblem> found;
};

} // namespace orvane::test
