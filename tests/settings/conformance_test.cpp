#include "settings_fixture.h"

#include "library/checks/check_catalogue.h"

#include <set>
#include <string>

namespace orvane::test {
namespace {

// The checks of the catalogue by priority, and its Section 508 checks (pre and
// xmp each have their own ASCII-art entries).
const std::multiset<std::string> kPriorityOne = {
    "AnchorTranscript", "AppletAltText", "BodyLanguageChange", "UsingStyle", "DynamicEquivalents",
    "UsableWithoutProgram", "ProgramAccessible", "MultiMedia", "Metadata", "FrameTitle", "FrameSource",
    "UsingColor", "CheckFlicker", "ImgAltText", "ImgAltTextSuspicious", "ImgLongdesc", "ImageMapIsmapTextLinks",
    "ImageMap", "ImageDLink", "InputAltText", "InputAltTextLong", "InputAltTextSuspicious", "MapAltText",
    "ObjectAudio", "ObjectAltRep", "AsciiArtDescription", "AsciiArtDescription", "ScriptNoscript",
    "TableHeaders", "TableMultipleTH"};
const std::multiset<std::string> kPriorityTwo = {
    "AnchorNewWindow", "BlinkMarquee", "DeprecatedHtml", "DoctypeMissing", "NoStylesheets", "TextLinks",
    "DeviceDependent", "FrameLongdesc", "FramesetNoframes", "FramesetAbsoluteUnits", "HeaderFormatting",
    "NestedHeaders", "PotentialHeaders", "QuoteFormat", "InputMissingLabel", "InputFarLabel", "ListForFormat",
    "MapRefresh", "MapRedirect", "ObjectTitle", "ScriptSpawnNewWindow", "SelectNoLabel", "TableLinearize",
    "TableStructMarkup", "TableCaption", "TableAbsoluteUnits", "TextareaLabel"};
const std::multiset<std::string> kPriorityThree = {
    "BodyColorContrst", "AbbrevAcronym", "LinksSkipover", "MissingLanguage", "ImgAltTextLong",
    "ImageMapTextLinks", "InputMissingDefault", "AsciiArtSkipover", "AsciiArtSkipover", "TableSummary",
    "TableAbbreviations", "TextareaText"};
const std::multiset<std::string> kSection508 = {
    "AnchorTranscript", "AppletAltText", "BodyLanguageChange", "LinksSkipover", "UsingStyle",
    "DynamicEquivalents", "MultiMedia", "FrameTitle", "UsingColor", "ImgAltText", "ImgAltTextLong",
    "ImgAltTextSuspicious", "ImgLongdesc", "ImageMapIsmapTextLinks", "ImageMap", "MapAltText", "ObjectAltRep",
    "AsciiArtDescription", "AsciiArtDescription", "ScriptNoscript", "TableHeaders", "TableMultipleTH",
    "TableStructMarkup"};

std::multiset<std::string> ApplyingChecks(const COrvaneSettings& settings)
{
    std::multiset<std::string> names;
    for (const auto& entry : settings.CheckSettings()) {
        if (settings.CheckApplies(entry->Family(), entry->CheckBit(), entry->Priority(), entry->IsSection508()))
            names.insert(entry->Name());
    }
    return names;
}

std::multiset<std::string> Without(std::multiset<std::string> names, const std::multiset<std::string>& gone)
{
    for (const std::string& name : gone) {
        auto it = names.find(name);
        if (it != names.end())
            names.erase(it);
    }
    return names;
}

TEST(ConformanceTest, PrioritiesCountUpToTheirLevel)
{
    for (bool section508 : {false, true}) {
        EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(1, 1, section508, false));
        EXPECT_FALSE(COrvaneSettings::AppliesAtLevel(1, 2, section508, false));
        EXPECT_FALSE(COrvaneSettings::AppliesAtLevel(1, 3, section508, false));
        EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(2, 2, section508, false));
        EXPECT_FALSE(COrvaneSettings::AppliesAtLevel(2, 3, section508, false));
        EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(3, 3, section508, false));
        // Any other priority counts as the lowest.
        EXPECT_FALSE(COrvaneSettings::AppliesAtLevel(2, -1, section508, false));
        EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(3, -1, section508, false));
    }
}

TEST(ConformanceTest, AlwaysIncludeAddsAnyCheckAtAnyLevel)
{
    for (int level = 1; level <= 4; ++level) {
        for (int priority = 1; priority <= 3; ++priority)
            EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(level, priority, false, true)) << level << priority;
    }
}

TEST(ConformanceTest, Section508CountsOnlyItsOwnChecksWhateverThePriority)
{
    for (int priority = 1; priority <= 3; ++priority) {
        EXPECT_TRUE(COrvaneSettings::AppliesAtLevel(4, priority, true, false));
        EXPECT_FALSE(COrvaneSettings::AppliesAtLevel(4, priority, false, false));
    }
}

TEST_F(SettingsTest, TheCatalogueSplitsIntoPrioritiesAsTheTableSays)
{
    COrvaneSettings settings;
    settings.Load();
    std::multiset<std::string> one, two, three, section508;
    for (const auto& entry : settings.CheckSettings()) {
        if (entry->Priority() == 1)
            one.insert(entry->Name());
        if (entry->Priority() == 2)
            two.insert(entry->Name());
        if (entry->Priority() == 3)
            three.insert(entry->Name());
        if (entry->IsSection508())
            section508.insert(entry->Name());
    }
    // Together the three lists spell every name of the catalogue.
    EXPECT_EQ(one, kPriorityOne);
    EXPECT_EQ(two, kPriorityTwo);
    EXPECT_EQ(three, kPriorityThree);
    EXPECT_EQ(one.size() + two.size() + three.size(), settings.CheckSettings().size());
    EXPECT_EQ(section508, kSection508);
}

TEST_F(SettingsTest, WithDefaultSettingsEachLevelGetsItsChecks)
{
    COrvaneSettings settings;
    settings.Load();
    std::multiset<std::string> all;
    for (const auto& entry : settings.CheckSettings())
        all.insert(entry->Name());
    std::multiset<std::string> uptoTwo = Without(all, kPriorityThree);

    settings.SetConformanceLevel(1);
    EXPECT_EQ(ApplyingChecks(settings), kPriorityOne);
    settings.SetConformanceLevel(2);
    EXPECT_EQ(ApplyingChecks(settings), uptoTwo);
    settings.SetConformanceLevel(3);
    EXPECT_EQ(ApplyingChecks(settings), all);
    // The "d" link check is always included from the start, so it also counts
    // for Section 508, which it is not part of.
    settings.SetConformanceLevel(4);
    std::multiset<std::string> expected = kSection508;
    expected.insert("ImageDLink");
    EXPECT_EQ(ApplyingChecks(settings), expected);
}

TEST_F(SettingsTest, AlwaysIncludeBringsALowerCheckIntoALevel)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(1);
    // "MissingLanguage" has priority 3; "AnchorNewWindow" is not a Section 508 check.
    EXPECT_FALSE(settings.CheckApplies(41, 0x2, 3, false));
    settings.SetAlwaysInclude(41, 0x2, true);
    EXPECT_TRUE(settings.CheckApplies(41, 0x2, 3, false));

    settings.SetConformanceLevel(4);
    EXPECT_FALSE(settings.CheckApplies(5, 0x2, 2, false));
    settings.SetAlwaysInclude(5, 0x2, true);
    EXPECT_TRUE(settings.CheckApplies(5, 0x2, 2, false));
}

TEST_F(SettingsTest, ACheckWithoutAnEntryAlwaysApplies)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(1);
    EXPECT_TRUE(settings.CheckApplies(83, 0x40000000, 3, false));
}

} // namespace
} // namespace orvane::test
