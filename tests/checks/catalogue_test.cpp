#include "library/checks/check_catalogue.h"
#include "library/checks/check_info.h"
#include "library/checks/element_pre.h"
#include "library/checks/element_xmp.h"
#include "library/checks/family_factory.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace orvane {
namespace {

struct CatalogueCheck {
    const CCatalogueElement* family;
    std::uint32_t bit;
    std::string name;
};

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_families = CreateCatalogueFamilies();
        for (const ElementPtr& element : m_families) {
            const auto* family = dynamic_cast<const CCatalogueElement*>(element.get());
            ASSERT_NE(family, nullptr) << "family " << element->Kind();
            std::uint32_t mask = family->GetCheckMask();
            for (int i = 0; i < 32; ++i) {
                std::uint32_t bit = 1u << i;
                if ((mask & bit) && !family->GetCheckName(bit).empty())
                    m_checks.push_back({family, bit, family->GetCheckName(bit)});
            }
        }
    }

    const CatalogueCheck& Named(const std::string& name) const
    {
        for (const CatalogueCheck& check : m_checks) {
            if (check.name == name)
                return check;
        }
        static const CatalogueCheck none{nullptr, 0, ""};
        ADD_FAILURE() << "no check " << name;
        return none;
    }

    std::set<std::string> NamesWhere(bool (*test)(const CatalogueCheck&)) const
    {
        std::set<std::string> names;
        for (const CatalogueCheck& check : m_checks) {
            if (test(check))
                names.insert(check.name);
        }
        return names;
    }

    std::vector<ElementPtr> m_families;
    std::vector<CatalogueCheck> m_checks;
};

TEST_F(CatalogueTest, TheFamiliesComeInCatalogueOrderWithTheirKinds)
{
    const std::vector<int> kinds = {5, 3, 4, 11, 7, -4, 29, 31, 32, 49, 33, 41, 44,
                                    45, 24, 54, 57, 60, 67, 72, 71, 77, 80, 83, 93};
    ASSERT_EQ(m_families.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(m_families[i]->Kind(), kinds[i]);
    EXPECT_NE(dynamic_cast<CElementXmp*>(m_families.back().get()), nullptr);
}

TEST_F(CatalogueTest, EachFamilyHasItsNumberOfChecks)
{
    const std::map<int, int> counts = {{5, 2},  {3, 1},  {4, 0},  {11, 1}, {7, 5},  {-4, 10}, {29, 0},
                                       {31, 3}, {32, 2}, {49, 0}, {33, 1}, {41, 6}, {44, 8},  {45, 6},
                                       {24, 1}, {54, 1}, {57, 2}, {60, 3}, {67, 2}, {72, 1},  {71, 2},
                                       {77, 0}, {80, 8}, {83, 2}, {93, 2}};
    std::map<int, int> found;
    for (const ElementPtr& family : m_families)
        found[family->Kind()] = std::popcount(family->GetCheckMask());
    EXPECT_EQ(found, counts);
    EXPECT_EQ(m_checks.size(), 69u);
}

TEST_F(CatalogueTest, NamesAreUniqueButForTheSharedAsciiArtChecks)
{
    std::map<std::string, std::vector<int>> families;
    for (const CatalogueCheck& check : m_checks)
        families[check.name].push_back(check.family->Kind());
    EXPECT_EQ(families.size(), 67u);
    for (const auto& [name, kinds] : families) {
        if (name == "AsciiArtDescription" || name == "AsciiArtSkipover") {
            EXPECT_EQ(kinds, (std::vector<int>{67, 93})) << name;
        } else {
            EXPECT_EQ(kinds.size(), 1u) << name;
        }
    }
}

TEST_F(CatalogueTest, TheMaskHoldsExactlyTheNamedChecks)
{
    for (const ElementPtr& family : m_families) {
        for (int i = 0; i < 32; ++i) {
            std::uint32_t bit = 1u << i;
            if (family->GetCheckMask() & bit) {
                EXPECT_FALSE(family->GetCheckName(bit).empty()) << family->Kind() << " bit " << bit;
            }
        }
    }
}

TEST_F(CatalogueTest, SomeFamiliesNameBitsOutsideTheirMasks)
{
    const std::map<std::pair<int, std::uint32_t>, std::string> outside = {
        {{41, 0x10}, "PotentialQuote"}};
    for (const ElementPtr& family : m_families) {
        for (int i = 0; i < 32; ++i) {
            std::uint32_t bit = 1u << i;
            if (family->GetCheckMask() & bit)
                continue;
            auto it = outside.find({family->Kind(), bit});
            EXPECT_EQ(family->GetCheckName(bit), it == outside.end() ? "" : it->second)
                << family->Kind() << " bit " << bit;
        }
    }
}

TEST_F(CatalogueTest, TableBit40HasATitleButNoName)
{
    platform::CStringTable strings;
    strings.Parse("187\tUndecided tables\n");
    platform::ScopedStrings scope(strings);
    const ElementPtr& table = m_families[22];
    ASSERT_EQ(table->Kind(), 80);
    EXPECT_EQ(table->GetCheckName(0x40), "");
    EXPECT_EQ(table->GetCheckTitle(0x40), "Undecided tables");
    EXPECT_EQ(table->GetPriority(0x40), -1);
    EXPECT_EQ(table->GetCheckMask() & 0x40, 0u);
}

TEST_F(CatalogueTest, TwoChecksAreNeverReportedAndHaveNoRepairPage)
{
    auto neverReported = [](const CatalogueCheck& check) { return !check.family->FindCheck(check.bit)->reported; };
    EXPECT_EQ(NamesWhere(neverReported), (std::set<std::string>{"AbbrevAcronym", "ObjectAudio"}));
    auto withoutPage = [](const CatalogueCheck& check) { return check.family->RepairPageClass(check.bit).empty(); };
    EXPECT_EQ(NamesWhere(withoutPage), NamesWhere(neverReported));
}

TEST_F(CatalogueTest, EveryReportedGroupedCheckHasARepairPageWithAHelpTopic)
{
    for (const CatalogueCheck& check : m_checks) {
        if (!check.family->IsGrouped(check.bit) || !check.family->FindCheck(check.bit)->reported)
            continue;
        std::string page = check.family->RepairPageClass(check.bit);
        EXPECT_EQ(page.rfind("CPage", 0), 0u) << check.name;
        EXPECT_NE(page, "CPageWarnings") << check.name;
        EXPECT_FALSE(check.family->RepairHelpTopic(check.bit).empty()) << check.name;
    }
    EXPECT_EQ(Named("ImgAltTextLong").family->RepairPageClass(0x2), "CPageImgAltText");
    EXPECT_EQ(Named("SelectNoLabel").family->RepairPageClass(0x20000000), "CPageLabelMissing");
    EXPECT_EQ(Named("ImageDLink").family->RepairHelpTopic(0x80), "ImageMissingDLink.html");
}

TEST_F(CatalogueTest, GeneralWarningsGoToTheWarningsPageWithTopicAndText)
{
    auto warning = [](const CatalogueCheck& check) { return !check.family->IsGrouped(check.bit); };
    EXPECT_EQ(NamesWhere(warning),
              (std::set<std::string>{"BodyLanguageChange", "NoStylesheets", "UsingStyle", "DynamicEquivalents",
                                     "UsableWithoutProgram", "ProgramAccessible", "MultiMedia", "UsingColor"}));
    for (const CatalogueCheck& check : m_checks) {
        bool isWarning = !check.family->IsGrouped(check.bit);
        if (isWarning) {
            EXPECT_EQ(check.family->RepairPageClass(check.bit), "CPageWarnings") << check.name;
        }
        bool hasWarningText = !check.family->GetWarningHelpTopic(check.bit).empty();
        EXPECT_EQ(hasWarningText, check.family->GetWarningTextId(check.bit) != 0) << check.name;
        EXPECT_EQ(hasWarningText, isWarning || check.name == "CheckFlicker") << check.name;
    }
    EXPECT_EQ(Named("UsingColor").family->GetWarningHelpTopic(0x1), "2-1-1.html");
    EXPECT_EQ(Named("UsingColor").family->GetWarningTextId(0x1), 381);
    EXPECT_EQ(Named("CheckFlicker").family->GetWarningHelpTopic(0x80), "7-1-1.html");
    EXPECT_EQ(Named("CheckFlicker").family->GetWarningTextId(0x80), 392);
}

TEST_F(CatalogueTest, SevenChecksOfferAutomaticRepair)
{
    auto automatic = [](const CatalogueCheck& check) { return check.family->HasAutoRepair(check.bit); };
    EXPECT_EQ(NamesWhere(automatic), (std::set<std::string>{"DoctypeMissing", "DeviceDependent", "BlinkMarquee",
                                                            "MissingLanguage", "ImageDLink", "MapRefresh",
                                                            "MapRedirect"}));
    for (const CatalogueCheck& check : m_checks)
        EXPECT_EQ(check.family->GetRememberedDefault(check.bit), 0) << check.name;
}

TEST_F(CatalogueTest, TitlesAreResourceStringsWithTheirSuffixes)
{
    platform::CStringTable strings;
    strings.Parse("394\tNo label\n428\tAbsolute units\n437\tNew window\n129\tNo alt\n");
    platform::ScopedStrings scope(strings);
    EXPECT_EQ(Named("InputMissingLabel").family->GetCheckTitle(0x20000000), "No label - INPUT");
    EXPECT_EQ(Named("SelectNoLabel").family->GetCheckTitle(0x20000000), "No label - SELECT");
    EXPECT_EQ(Named("TextareaLabel").family->GetCheckTitle(0x20000000), "No label - TEXTAREA");
    EXPECT_EQ(Named("FramesetAbsoluteUnits").family->GetCheckTitle(0x10000000), "Absolute units - FRAMESET");
    EXPECT_EQ(Named("TableAbsoluteUnits").family->GetCheckTitle(0x10000000), "Absolute units - TABLE");
    EXPECT_EQ(Named("AnchorNewWindow").family->GetCheckTitle(0x2), "New window - ANCHOR");
    EXPECT_EQ(Named("ImgAltText").family->GetCheckTitle(0x1), "No alt");
    // Without its resource string a title is empty.
    EXPECT_EQ(Named("AnchorTranscript").family->GetCheckTitle(0x1), "");
}

TEST_F(CatalogueTest, BitsOutsideTheTableGetTheElementDefaults)
{
    for (const ElementPtr& family : m_families) {
        SCOPED_TRACE(family->Kind());
        const std::uint32_t bit = 0x80000000;
        EXPECT_EQ(family->GetCheckName(bit), "");
        EXPECT_EQ(family->GetCheckTitle(bit), "");
        EXPECT_EQ(family->GetWarningHelpTopic(bit), "");
        EXPECT_EQ(family->GetWarningTextId(bit), 0);
        EXPECT_EQ(family->GetPriority(bit), 3);
        EXPECT_FALSE(family->IsSection508(bit));
        EXPECT_TRUE(family->IsGrouped(bit));
        EXPECT_FALSE(family->HasAutoRepair(bit));
        EXPECT_EQ(family->GetRememberedDefault(bit), 0);
    }
    // No title and no markup of its own: nothing to add to the check's name.
    EXPECT_EQ(m_families[22]->GetProblemText(0x200, PageEncoding{}), "");
}

TEST_F(CatalogueTest, ExampleTextAnswersAsPreformattedText)
{
    CElementPre pre;
    pre.SetKind(67);
    CElementXmp xmp;
    xmp.SetKind(93);
    EXPECT_EQ(pre.GetCheckMask(), xmp.GetCheckMask());
    for (int i = 0; i < 32; ++i) {
        std::uint32_t bit = 1u << i;
        EXPECT_EQ(pre.GetCheckName(bit), xmp.GetCheckName(bit));
        EXPECT_EQ(pre.GetPriority(bit), xmp.GetPriority(bit));
        EXPECT_EQ(pre.IsSection508(bit), xmp.IsSection508(bit));
        EXPECT_EQ(pre.GetProblemText(bit, PageEncoding{}), xmp.GetProblemText(bit, PageEncoding{}));
    }
    EXPECT_EQ(ReportedKind(xmp), 67);
    EXPECT_EQ(ReportedKind(pre), 67);
    CElement text;
    text.SetKind(-1);
    EXPECT_EQ(ReportedKind(text), -1);
}

TEST_F(CatalogueTest, PrioritiesAreShownWithTheirBitvNames)
{
    EXPECT_EQ(PriorityDisplayText(1), "1");
    EXPECT_EQ(PriorityDisplayText(2), "BITV I-2");
    EXPECT_EQ(PriorityDisplayText(3), "BITV II-3");
}

TEST_F(CatalogueTest, TheCatalogueHandsEachFamilyToTheSettings)
{
    std::vector<int> kinds;
    CCheckCatalogue::Instance().ForEachFamily([&](const CElement& family) { kinds.push_back(family.Kind()); });
    EXPECT_EQ(kinds, std::vector<int>(kCatalogueFamilies.begin(), kCatalogueFamilies.end()));
}

} // namespace
} // namespace orvane
