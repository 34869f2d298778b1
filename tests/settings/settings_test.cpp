#include "settings_fixture.h"

#include <bit>
#include <fstream>
#include <set>

namespace orvane::test {
namespace {

constexpr int kImg = 44, kHtml = 41, kHeading = 33, kDocument = -4, kPre = 67, kXmp = 93;

// --- A fresh user ------------------------------------------------------------------------

TEST_F(SettingsTest, AFreshUserGetsTheDefaults)
{
    COrvaneSettings settings;
    EXPECT_EQ(settings.Load(), 1);
    EXPECT_EQ(settings.GetFileSaves(), 3);
    EXPECT_EQ(settings.GetOriginalExtension(), ".htmlold");
    EXPECT_EQ(settings.GetValidateExtension(), ".htmlvalid");
    EXPECT_EQ(settings.GetConformanceLevel(), 3);
    EXPECT_FALSE(settings.GetInsertIcon());
    EXPECT_EQ(settings.GetIconsLocation(), "");
    EXPECT_TRUE(settings.GetIgnoreRepaired());
    EXPECT_FALSE(settings.IsFileSavesChanged() || settings.IsOriginalExtensionChanged() ||
                 settings.IsValidateExtensionChanged() || settings.IsConformanceLevelChanged() ||
                 settings.IsInsertIconChanged() || settings.IsIgnoreRepairedChanged());
}

TEST_F(SettingsTest, AriaNamesAreOffUntilChosenAndTheChoiceIsStoredByName)
{
    COrvaneSettings fresh;
    fresh.Load();
    EXPECT_FALSE(fresh.GetAriaNames());
    fresh.SetAriaNames(false);
    EXPECT_FALSE(fresh.IsAriaNamesChanged());
    fresh.SetAriaNames(true);
    EXPECT_TRUE(fresh.IsAriaNamesChanged());
    ASSERT_EQ(fresh.Save(), 1);
    EXPECT_EQ(StoredKey()->QueryDword("AriaNames"), std::optional<std::uint32_t>(1));

    COrvaneSettings next;
    next.Load();
    EXPECT_TRUE(next.GetAriaNames());
    EXPECT_FALSE(next.IsAriaNamesChanged());
    // As the other flags: only the low byte counts.
    Key()->SetDword("AriaNames", 0x100);
    next.Load();
    EXPECT_FALSE(next.GetAriaNames());
}

TEST_F(SettingsTest, ARecordReadsSensiblyBeforeItIsLoaded)
{
    COrvaneSettings settings;
    EXPECT_EQ(settings.GetFileSaves(), 3);
    EXPECT_TRUE(settings.CheckSettings().empty());
}

TEST_F(SettingsTest, TheCheckListHasOneEntryPerCatalogueCheckInCatalogueOrder)
{
    COrvaneSettings settings;
    settings.Load();
    const auto& entries = settings.CheckSettings();
    ASSERT_EQ(entries.size(), 69u);

    std::size_t familyPosition = 0;
    std::uint32_t previousBit = 0;
    std::set<std::pair<int, std::uint32_t>> identities;
    for (const auto& entry : entries) {
        while (familyPosition < kCatalogueFamilies.size() && kCatalogueFamilies[familyPosition] != entry->Family()) {
            ++familyPosition;
            previousBit = 0;
        }
        ASSERT_LT(familyPosition, kCatalogueFamilies.size()) << entry->Name() << " out of catalogue order";
        EXPECT_GT(entry->CheckBit(), previousBit) << entry->Name();
        EXPECT_EQ(std::popcount(entry->CheckBit()), 1) << entry->Name();
        previousBit = entry->CheckBit();
        EXPECT_FALSE(entry->Name().empty());
        EXPECT_TRUE(identities.insert({entry->Family(), entry->CheckBit()}).second) << entry->Name();
    }
}

TEST_F(SettingsTest, EntriesStartWithTheCatalogueDefaults)
{
    COrvaneSettings settings;
    settings.Load();
    const std::set<std::string> autoRepaired = {"DoctypeMissing", "DeviceDependent", "BlinkMarquee", "MissingLanguage",
                                                "ImageDLink",     "MapRefresh",      "MapRedirect"};
    for (const auto& entry : settings.CheckSettings()) {
        SCOPED_TRACE(entry->Name());
        EXPECT_EQ(entry->AlwaysInclude(), entry->Name() == "ImageDLink");
        EXPECT_EQ(entry->AutoRepairMode(), autoRepaired.count(entry->Name()) ? 0 : 2);
        EXPECT_EQ(entry->RememberedNumber(), 0);
        EXPECT_EQ(entry->Text1(), "");
        EXPECT_EQ(entry->Text2(), "");
        EXPECT_GE(entry->Priority(), 1);
        EXPECT_LE(entry->Priority(), 3);
        EXPECT_FALSE(entry->IsNumberBlockChanged() || entry->IsText1Changed() || entry->IsText2Changed());
    }
    const CheckSetting* dlink = settings.FindCheckSetting(kImg, 0x80);
    ASSERT_NE(dlink, nullptr);
    EXPECT_EQ(dlink->Title(), "Long descriptions without d link");
    EXPECT_FALSE(settings.FindCheckSetting(kDocument, 0x2)->IsGrouped());
    EXPECT_TRUE(settings.FindCheckSetting(kDocument, 0x1)->IsGrouped());
    EXPECT_TRUE(settings.FindCheckSetting(kImg, 0x1)->IsSection508());
    EXPECT_FALSE(settings.FindCheckSetting(kImg, 0x80)->IsSection508());
}

TEST_F(SettingsTest, ExampleTextHasEntriesOfItsOwnWithTheNamesOfPreformattedText)
{
    COrvaneSettings settings;
    settings.Load();
    for (std::uint32_t bit : {0x1u, 0x2u}) {
        const CheckSetting* pre = settings.FindCheckSetting(kPre, bit);
        const CheckSetting* xmp = settings.FindCheckSetting(kXmp, bit);
        ASSERT_TRUE(pre && xmp);
        EXPECT_NE(pre, xmp);
        EXPECT_EQ(pre->Name(), xmp->Name());
        EXPECT_EQ(pre->Priority(), xmp->Priority());
    }
}

TEST_F(SettingsTest, WithoutACatalogueTheListStaysEmpty)
{
    COrvaneSettings::InstallCatalogue(nullptr);
    COrvaneSettings settings;
    EXPECT_EQ(settings.Load(), 1);
    EXPECT_TRUE(settings.CheckSettings().empty());
    EXPECT_TRUE(settings.GetAlwaysInclude(kImg, 0x1));
}

TEST_F(SettingsTest, LoadingTwiceKeepsTheEntriesAndRefreshesTheirValues)
{
    COrvaneSettings settings;
    settings.Load();
    const CheckSetting* first = settings.FindCheckSetting(kHtml, 0x2);
    Key()->SetString("MissingLanguage-1", "fr");
    settings.Load();
    EXPECT_EQ(settings.CheckSettings().size(), 69u);
    EXPECT_EQ(settings.FindCheckSetting(kHtml, 0x2), first);
    EXPECT_EQ(first->Text1(), "fr");
}

// Entries are stored under their check names, so a store written before the
// quotation check had an entry loads with its defaults and keeps the rest;
// the entry's own values, once saved, come back under its name.
TEST_F(SettingsTest, AStoreFromBeforeTheQuotationEntryLoadsWithItsDefaultAndKeepsTheOthers)
{
    constexpr std::uint32_t kQuoteFormat = 0x20;
    Key()->SetDword("PotentialHeaders", 0x00030001);
    Key()->SetString("MissingLanguage-1", "de");
    Key()->SetString("WaiConformance", "A");
    COrvaneSettings old;
    old.Load();
    const CheckSetting* quote = old.FindCheckSetting(kHtml, kQuoteFormat);
    ASSERT_NE(quote, nullptr);
    EXPECT_EQ(quote->Name(), "QuoteFormat");
    EXPECT_FALSE(quote->AlwaysInclude());
    EXPECT_EQ(quote->RememberedNumber(), 0);
    EXPECT_EQ(quote->Text1(), "");
    // So does the scripts' new-window entry, added after it.
    const CheckSetting* newWindow = old.FindCheckSetting(71, 0x2);
    ASSERT_NE(newWindow, nullptr);
    EXPECT_EQ(newWindow->Name(), "ScriptSpawnNewWindow");
    EXPECT_FALSE(newWindow->AlwaysInclude());
    EXPECT_EQ(newWindow->Priority(), 2);
    EXPECT_TRUE(old.GetAlwaysInclude(kHtml, 0x8));
    EXPECT_EQ(old.GetRememberedNumber(kHtml, 0x8), 3);
    EXPECT_EQ(old.GetText1(kHtml, 0x2), "de");
    EXPECT_EQ(old.GetConformanceLevel(), 1);

    old.SetAlwaysInclude(kHtml, kQuoteFormat, true);
    old.SetRememberedNumber(kHtml, kQuoteFormat, 2);
    ASSERT_EQ(old.Save(), 1);
    EXPECT_EQ(StoredKey()->QueryDword("QuoteFormat"), 0x00020201u);
    COrvaneSettings again;
    again.Load();
    EXPECT_TRUE(again.GetAlwaysInclude(kHtml, kQuoteFormat));
    EXPECT_EQ(again.GetRememberedNumber(kHtml, kQuoteFormat), 2);
    EXPECT_EQ(again.GetRememberedNumber(kHtml, 0x8), 3);
    EXPECT_EQ(again.GetText1(kHtml, 0x2), "de");
}

// Likewise the body's check of deprecated markup: a store from before it
// keeps its other values, and the way of striking it remembers comes back.
TEST_F(SettingsTest, AStoreFromBeforeTheDeprecatedMarkupEntryLoadsWithItsDefaultAndKeepsTheOthers)
{
    constexpr int kBody = 7;
    constexpr std::uint32_t kDeprecatedHtml = 0x8;
    Key()->SetDword("LinksSkipover", 0x00030001);
    COrvaneSettings old;
    old.Load();
    const CheckSetting* deprecated = old.FindCheckSetting(kBody, kDeprecatedHtml);
    ASSERT_NE(deprecated, nullptr);
    EXPECT_EQ(deprecated->Name(), "DeprecatedHtml");
    EXPECT_EQ(deprecated->RememberedNumber(), 0);
    EXPECT_EQ(old.GetRememberedNumber(kBody, 0x10), 3);

    old.SetRememberedNumber(kBody, kDeprecatedHtml, 2);
    ASSERT_EQ(old.Save(), 1);
    COrvaneSettings again;
    again.Load();
    EXPECT_EQ(again.GetRememberedNumber(kBody, kDeprecatedHtml), 2);
    EXPECT_EQ(again.GetRememberedNumber(kBody, 0x10), 3);
}

// --- Loading stored values ---------------------------------------------------------------------

TEST_F(SettingsTest, TheConformanceLevelIsReadExactly)
{
    const std::pair<const char*, int> cases[] = {{"A", 1},  {"AA", 2},   {"AAA", 3}, {"508", 4},
                                                 {"aa", 4}, {"BITV", 4}, {"", 4},    {"AAA ", 4}};
    for (auto [text, expected] : cases) {
        Key()->SetString("WaiConformance", text);
        COrvaneSettings settings;
        settings.Load();
        EXPECT_EQ(settings.GetConformanceLevel(), expected) << '"' << text << '"';
        EXPECT_FALSE(settings.IsConformanceLevelChanged());
    }
}

TEST_F(SettingsTest, AMissingOrUnreadableLevelIsAAA)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(1);
    Key()->SetDword("Unrelated", 1);
    settings.Load();
    EXPECT_EQ(settings.GetConformanceLevel(), 3);

    // Ten characters do not fit the ten-byte buffer with their terminator.
    settings.SetConformanceLevel(1);
    Key()->SetString("WaiConformance", "AAAAAAAAAA");
    settings.Load();
    EXPECT_EQ(settings.GetConformanceLevel(), 3);
    Key()->SetDword("WaiConformance", 1);
    settings.Load();
    EXPECT_EQ(settings.GetConformanceLevel(), 3);
}

TEST_F(SettingsTest, OnlyTheLowByteOfTheFileSaveModeCounts)
{
    Key()->SetDword("FileSaves", 0x103);
    COrvaneSettings settings;
    settings.Load();
    EXPECT_EQ(settings.GetFileSaves(), 3);
    Key()->SetDword("FileSaves", 0x201);
    settings.Load();
    EXPECT_EQ(settings.GetFileSaves(), 1);
    EXPECT_FALSE(settings.IsFileSavesChanged());
}

TEST_F(SettingsTest, AMissingKeyGivesTheFileDefaultsAndKeepsEverythingElse)
{
    COrvaneSettings settings;
    settings.SetFileSaves(1);
    settings.SetOriginalExtension(".bak");
    settings.SetConformanceLevel(1);
    settings.SetInsertIcon(true);
    settings.SetIconsLocation("http://example.org");
    settings.SetIgnoreRepaired(false);
    EXPECT_EQ(settings.Load(), 1);
    EXPECT_EQ(StoredKey(), nullptr);
    EXPECT_EQ(settings.GetFileSaves(), 3);
    EXPECT_EQ(settings.GetOriginalExtension(), ".htmlold");
    EXPECT_EQ(settings.GetValidateExtension(), ".htmlvalid");
    EXPECT_EQ(settings.GetConformanceLevel(), 1);
    EXPECT_TRUE(settings.GetInsertIcon());
    EXPECT_EQ(settings.GetIconsLocation(), "http://example.org");
    EXPECT_FALSE(settings.GetIgnoreRepaired());
    // Load leaves the changed flags of the record as they were.
    EXPECT_TRUE(settings.IsFileSavesChanged());
    EXPECT_TRUE(settings.IsConformanceLevelChanged());
}

TEST_F(SettingsTest, MissingFlagsAndLocationKeepTheirValues)
{
    Key()->SetDword("Unrelated", 1);
    COrvaneSettings settings;
    settings.SetInsertIcon(true);
    settings.SetIconsLocation("kept");
    settings.SetIgnoreRepaired(false);
    settings.Load();
    EXPECT_TRUE(settings.GetInsertIcon());
    EXPECT_EQ(settings.GetIconsLocation(), "kept");
    EXPECT_FALSE(settings.GetIgnoreRepaired());
}

TEST_F(SettingsTest, FlagsAreReadFromTheirLowByte)
{
    Key()->SetDword("InsertIcon", 0x100);
    Key()->SetDword("IgnoreRepaired", 0x2);
    COrvaneSettings settings;
    settings.SetInsertIcon(true);
    settings.SetIgnoreRepaired(false);
    settings.Load();
    EXPECT_FALSE(settings.GetInsertIcon());
    EXPECT_TRUE(settings.GetIgnoreRepaired());
}

TEST_F(SettingsTest, ExtensionsAndLocationMustFitTheirBuffers)
{
    Key()->SetString("OriginalExtension", std::string(29, 'o'));
    Key()->SetString("ValidateExtension", std::string(30, 'v'));
    Key()->SetString("IconsLocation", std::string(299, 'i'));
    COrvaneSettings settings;
    settings.Load();
    EXPECT_EQ(settings.GetOriginalExtension(), std::string(29, 'o'));
    EXPECT_EQ(settings.GetValidateExtension(), ".htmlvalid");
    EXPECT_EQ(settings.GetIconsLocation(), "");
    Key()->SetString("IconsLocation", std::string(298, 'i'));
    settings.Load();
    EXPECT_EQ(settings.GetIconsLocation(), std::string(298, 'i'));
}

TEST_F(SettingsTest, ACheckValueUnpacksIntoIncludeModeAndNumber)
{
    // Always include on, auto-repair mode 1, remembered number -2.
    Key()->SetDword("MissingLanguage", 0xfffe0101);
    Key()->SetDword("ImgAltText", 0x00070101);
    COrvaneSettings settings;
    settings.Load();
    const CheckSetting* language = settings.FindCheckSetting(kHtml, 0x2);
    EXPECT_TRUE(language->AlwaysInclude());
    EXPECT_EQ(language->AutoRepairMode(), 1);
    EXPECT_EQ(language->RememberedNumber(), -2);
    EXPECT_FALSE(language->IsNumberBlockChanged());

    // A check without automatic repair does not get it from the store.
    const CheckSetting* alt = settings.FindCheckSetting(kImg, 0x1);
    EXPECT_TRUE(alt->AlwaysInclude());
    EXPECT_EQ(alt->AutoRepairMode(), 2);
    EXPECT_EQ(alt->RememberedNumber(), 7);
}

TEST_F(SettingsTest, CheckTextsMustFitNinetyNineBytes)
{
    Key()->SetString("MissingLanguage-1", std::string(98, 'a'));
    Key()->SetString("MissingLanguage-2", std::string(99, 'b'));
    Key()->SetString("BlinkMarquee-1", std::string(99, 'c'));
    Key()->SetString("BlinkMarquee-2", "style");
    COrvaneSettings settings;
    settings.Load();
    EXPECT_EQ(settings.GetText1(kHtml, 0x2), std::string(98, 'a'));
    EXPECT_EQ(settings.GetText2(kHtml, 0x2), "");
    EXPECT_EQ(settings.GetText1(11, 0x1), "");
    EXPECT_EQ(settings.GetText2(11, 0x1), "style");
}

TEST_F(SettingsTest, HandWrittenValuesOfTheWrongTypeAreIgnored)
{
    Key()->SetString("FileSaves", "1");
    Key()->SetDword("OriginalExtension", 1);
    Key()->SetDword("IconsLocation", 1);
    Key()->SetString("InsertIcon", "1");
    Key()->SetString("IgnoreRepaired", "0");
    Key()->SetString("ImgAltText", "\x01\x01\x01");
    Key()->SetDword("ImgAltText-1", 5);
    COrvaneSettings settings;
    settings.SetIconsLocation("kept");
    settings.Load();
    EXPECT_EQ(settings.GetFileSaves(), 3);
    EXPECT_EQ(settings.GetOriginalExtension(), ".htmlold");
    EXPECT_EQ(settings.GetIconsLocation(), "kept");
    EXPECT_FALSE(settings.GetInsertIcon());
    EXPECT_TRUE(settings.GetIgnoreRepaired());
    EXPECT_FALSE(settings.GetAlwaysInclude(kImg, 0x1));
    EXPECT_EQ(settings.GetText1(kImg, 0x1), "");
}

TEST_F(SettingsTest, AStoreFileBrokenByHandLoadsWhatItCan)
{
    {
        std::ofstream out(m_registryFile, std::ios::binary);
        out << "[Accessibility\\Orvane]\n\"FileSaves\"=dword:zz\n\"WaiConformance\"=\"AA\"\n\"IconsLocation\n";
    }
    COrvaneSettings settings;
    settings.SetIconsLocation("kept");
    settings.Load();
    EXPECT_EQ(settings.GetFileSaves(), 3);
    EXPECT_EQ(settings.GetConformanceLevel(), 2);
    EXPECT_EQ(settings.GetIconsLocation(), "kept");
}

// --- Saving ---------------------------------------------------------------------------------------------

TEST_F(SettingsTest, ASavedRecordLoadsTheSameIntoAFreshOne)
{
    {
        COrvaneSettings settings;
        settings.Load();
        settings.SetFileSaves(2);
        settings.SetOriginalExtension(".orig");
        settings.SetValidateExtension(".fixed");
        settings.SetConformanceLevel(1);
        settings.SetInsertIcon(true);
        settings.SetIconsLocation("http://example.org/icons");
        settings.SetIgnoreRepaired(false);
        settings.SetAlwaysInclude(kImg, 0x2, true);
        settings.SetAutoRepairMode(kHtml, 0x2, 1);
        settings.SetText1(kHtml, 0x2, "de");
        settings.SetText2(11, 0x1, "style=\"font-size: larger\"");
        EXPECT_EQ(settings.SetRememberedNumber(kDocument, 0x1, 1331), 1);
        EXPECT_EQ(settings.SetRememberedNumber(11, 0x1, -1), 1);
        EXPECT_EQ(settings.Save(), 1);
    }
    COrvaneSettings fresh;
    fresh.Load();
    EXPECT_EQ(fresh.GetFileSaves(), 2);
    EXPECT_EQ(fresh.GetOriginalExtension(), ".orig");
    EXPECT_EQ(fresh.GetValidateExtension(), ".fixed");
    EXPECT_EQ(fresh.GetConformanceLevel(), 1);
    EXPECT_TRUE(fresh.GetInsertIcon());
    EXPECT_EQ(fresh.GetIconsLocation(), "http://example.org/icons");
    EXPECT_FALSE(fresh.GetIgnoreRepaired());
    EXPECT_TRUE(fresh.GetAlwaysInclude(kImg, 0x2));
    EXPECT_EQ(fresh.GetAutoRepairMode(kHtml, 0x2), 1);
    EXPECT_EQ(fresh.GetText1(kHtml, 0x2), "de");
    EXPECT_EQ(fresh.GetText2(11, 0x1), "style=\"font-size: larger\"");
    EXPECT_EQ(fresh.GetRememberedNumber(kDocument, 0x1), 1331);
    EXPECT_EQ(fresh.GetRememberedNumber(11, 0x1), -1);
    // Everything else still has its default.
    EXPECT_TRUE(fresh.GetAlwaysInclude(kImg, 0x80));
    EXPECT_EQ(fresh.GetAutoRepairMode(kDocument, 0x80), 0);
}

TEST_F(SettingsTest, SavingWritesTheRegistryLayout)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetFileSaves(1);
    settings.SetConformanceLevel(4);
    settings.SetInsertIcon(true);
    settings.SetAlwaysInclude(kHtml, 0x2, true);
    settings.SetAutoRepairMode(kHtml, 0x2, 1);
    settings.SetRememberedNumber(kHtml, 0x2, -2);
    settings.SetText1(kHtml, 0x2, "en");
    ASSERT_EQ(settings.Save(), 1);

    auto key = StoredKey();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryDword("FileSaves"), 1u);
    EXPECT_EQ(key->QueryString("WaiConformance", 10), "508");
    EXPECT_EQ(key->QueryDword("InsertIcon"), 1u);
    EXPECT_EQ(key->QueryString("IconsLocation", 299), "");
    EXPECT_EQ(key->QueryDword("MissingLanguage"), 0xfffe0101u);
    EXPECT_EQ(key->QueryString("MissingLanguage-1", 99), "en");
    EXPECT_EQ(key->QueryString("MissingLanguage-2", 99), std::nullopt);
    EXPECT_EQ(key->QueryString("OriginalExtension", 30), std::nullopt);
    EXPECT_EQ(key->QueryDword("IgnoreRepaired"), std::nullopt);
}

TEST_F(SettingsTest, ALevelOutsideTheTargetsIsSavedAsSection508)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetConformanceLevel(8);
    settings.Save();
    EXPECT_EQ(StoredKey()->QueryString("WaiConformance", 10), "508");
}

TEST_F(SettingsTest, AWcag22TargetIsSavedByNameAndLoadsBack)
{
    for (const auto& [target, stored] : {std::pair{level::kWcag22A, "2.2-A"}, std::pair{level::kWcag22AA, "2.2-AA"},
                                         std::pair{level::kWcag22AAA, "2.2-AAA"}}) {
        COrvaneSettings settings;
        settings.Load();
        settings.SetConformanceLevel(target);
        settings.Save();
        EXPECT_EQ(StoredKey()->QueryString("WaiConformance", 10), stored);
        COrvaneSettings loaded;
        loaded.Load();
        EXPECT_EQ(loaded.GetConformanceLevel(), target);
    }
}

TEST_F(SettingsTest, AnUnchangedLevelIsNotRewritten)
{
    Key()->SetString("WaiConformance", "aa");
    COrvaneSettings settings;
    settings.Load();
    EXPECT_EQ(settings.GetConformanceLevel(), 4);
    settings.SetConformanceLevel(4);
    settings.Save();
    EXPECT_EQ(StoredKey()->QueryString("WaiConformance", 10), "aa");
    settings.SetConformanceLevel(3);
    settings.SetConformanceLevel(4);
    settings.Save();
    EXPECT_EQ(StoredKey()->QueryString("WaiConformance", 10), "508");
}

TEST_F(SettingsTest, SettingAValueToItselfSavesNothingButTheIconsLocation)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetFileSaves(3);
    settings.SetOriginalExtension(".htmlold");
    settings.SetValidateExtension(".htmlvalid");
    settings.SetConformanceLevel(3);
    settings.SetInsertIcon(false);
    settings.SetIgnoreRepaired(true);
    for (const auto& entry : settings.CheckSettings()) {
        entry->SetAlwaysInclude(entry->AlwaysInclude());
        entry->SetAutoRepairMode(entry->AutoRepairMode());
        entry->SetRememberedNumber(entry->RememberedNumber());
        entry->SetText1(entry->Text1());
        entry->SetText2(entry->Text2());
    }
    ASSERT_EQ(settings.Save(), 1);
    auto key = StoredKey();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryString("IconsLocation", 299), "");
    EXPECT_EQ(key->QueryDword("FileSaves"), std::nullopt);
    EXPECT_EQ(key->QueryString("OriginalExtension", 30), std::nullopt);
    EXPECT_EQ(key->QueryString("WaiConformance", 10), std::nullopt);
    EXPECT_EQ(key->QueryDword("InsertIcon"), std::nullopt);
    EXPECT_EQ(key->QueryDword("IgnoreRepaired"), std::nullopt);
    for (const auto& entry : settings.CheckSettings())
        EXPECT_EQ(key->QueryDword(entry->Name()), std::nullopt) << entry->Name();
}

TEST_F(SettingsTest, SavingClearsTheEntriesFlagsButNotTheRecords)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetFileSaves(0);
    settings.SetText1(kHtml, 0x2, "nl");
    settings.Save();
    EXPECT_TRUE(settings.IsFileSavesChanged());
    EXPECT_FALSE(settings.FindCheckSetting(kHtml, 0x2)->IsText1Changed());
}

TEST_F(SettingsTest, ASaveWithoutAStoreFailsAndKeepsTheChanges)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetText1(kHtml, 0x2, "it");
    {
        platform::IRegistry* none = nullptr;
        platform::SetRegistry(none);
        EXPECT_EQ(settings.Save(), 0);
        platform::SetRegistry(m_registry.get());
    }
    EXPECT_TRUE(settings.FindCheckSetting(kHtml, 0x2)->IsText1Changed());
    EXPECT_EQ(settings.Save(), 1);
    EXPECT_EQ(StoredKey()->QueryString("MissingLanguage-1", 99), "it");
}

TEST_F(SettingsTest, ASaveThatDoesNotReachTheStoreReportsFailure)
{
    Key();
    COrvaneSettings settings;
    settings.Load();
    settings.SetText1(kHtml, 0x2, "es");
    // The store can be neither read nor written while a file stands in place of its folder.
    const std::filesystem::path folder = std::filesystem::path(m_registryFile).parent_path();
    std::filesystem::remove_all(folder);
    std::ofstream(folder).put('x');
    EXPECT_EQ(settings.Save(), 0);
    EXPECT_TRUE(settings.FindCheckSetting(kHtml, 0x2)->IsText1Changed());
    std::filesystem::remove(folder);
    EXPECT_EQ(settings.Save(), 1);
    EXPECT_EQ(StoredKey()->QueryString("MissingLanguage-1", 99), "es");
}

TEST_F(SettingsTest, TwoRecordsSavingToOneStoreKeepEachOthersValues)
{
    // The library and the settings sheet (or another process) save in turn.
    COrvaneSettings library;
    COrvaneSettings sheet;
    library.Load();
    sheet.Load();
    library.SetText1(kHtml, 0x2, "de");
    sheet.SetFileSaves(0);
    auto otherProcess = platform::CreateFileRegistry(m_registryFile);
    auto otherKey = otherProcess->CreateKey(platform::kOrvaneRegistryKey);
    otherKey->SetDword("WindowMaximized", 1);
    EXPECT_EQ(library.Save(), 1);
    EXPECT_EQ(sheet.Save(), 1);
    EXPECT_TRUE(otherKey->Flush());

    auto key = StoredKey();
    EXPECT_EQ(key->QueryString("MissingLanguage-1", 99), "de");
    EXPECT_EQ(key->QueryDword("FileSaves"), 0u);
    EXPECT_EQ(key->QueryDword("WindowMaximized"), 1u);
}

// --- Setters and lookups --------------------------------------------------------------------

TEST_F(SettingsTest, SettersMarkOnlyRealChanges)
{
    COrvaneSettings settings;
    settings.Load();
    settings.SetOriginalExtension(".htmlold");
    EXPECT_FALSE(settings.IsOriginalExtensionChanged());
    settings.SetOriginalExtension(".HTMLOLD");
    EXPECT_TRUE(settings.IsOriginalExtensionChanged());
    settings.SetValidateExtension(".htmlvalid");
    EXPECT_FALSE(settings.IsValidateExtensionChanged());
    settings.SetIgnoreRepaired(false);
    EXPECT_TRUE(settings.IsIgnoreRepairedChanged());
}

TEST_F(SettingsTest, HeadingLevelsShareTheEntriesOfTheFirstLevel)
{
    COrvaneSettings settings;
    settings.Load();
    for (int family = 34; family <= 38; ++family)
        EXPECT_EQ(settings.FindCheckSetting(family, 0x1), settings.FindCheckSetting(kHeading, 0x1)) << family;
    settings.SetAlwaysInclude(36, 0x1, true);
    EXPECT_TRUE(settings.GetAlwaysInclude(kHeading, 0x1));
    settings.SetText1(38, 0x1, "h");
    EXPECT_EQ(settings.GetText1(34, 0x1), "h");
    EXPECT_EQ(settings.FindCheckSetting(39, 0x1), nullptr);
}

TEST_F(SettingsTest, LookupsWithoutAnEntryGiveFixedAnswersAndSetNothing)
{
    COrvaneSettings settings;
    settings.Load();
    // Bit 0x40 of tables is titled but not catalogued.
    EXPECT_TRUE(settings.GetAlwaysInclude(80, 0x40));
    EXPECT_EQ(settings.GetAutoRepairMode(80, 0x40), 2);
    EXPECT_EQ(settings.GetRememberedNumber(80, 0x40), 0);
    EXPECT_EQ(settings.GetText1(80, 0x40), "");
    EXPECT_EQ(settings.GetText2(80, 0x40), "");
    settings.SetText1(80, 0x40, "x");
    settings.SetAlwaysInclude(80, 0x40, false);
    EXPECT_EQ(settings.SetRememberedNumber(80, 0x40, 5), 0);
    EXPECT_EQ(settings.GetText1(80, 0x40), "");
    EXPECT_EQ(settings.SetRememberedNumber(80, 0x1, 5), 1);
    EXPECT_EQ(settings.GetRememberedNumber(80, 0x1), 5);
}

TEST_F(SettingsTest, AutomaticRepairCanOnlyBeSwitchedWhereItIsOffered)
{
    COrvaneSettings settings;
    settings.Load();
    CheckSetting* none = settings.FindCheckSetting(kImg, 0x1);
    none->SetAutoRepairMode(1);
    EXPECT_EQ(none->AutoRepairMode(), 2);
    EXPECT_FALSE(none->IsNumberBlockChanged());

    CheckSetting* offered = settings.FindCheckSetting(kHtml, 0x2);
    offered->SetAutoRepairMode(2);
    EXPECT_EQ(offered->AutoRepairMode(), 0);
    offered->SetAutoRepairMode(0);
    EXPECT_FALSE(offered->IsNumberBlockChanged());
    offered->SetAutoRepairMode(1);
    EXPECT_EQ(offered->AutoRepairMode(), 1);
    EXPECT_TRUE(offered->IsNumberBlockChanged());
}

TEST_F(SettingsTest, NumbersShareOneChangedFlagAndTextsHaveTheirOwn)
{
    COrvaneSettings settings;
    settings.Load();
    CheckSetting* entry = settings.FindCheckSetting(kDocument, 0x1);
    entry->SetRememberedNumber(1330);
    EXPECT_TRUE(entry->IsNumberBlockChanged());
    EXPECT_FALSE(entry->IsText1Changed() || entry->IsText2Changed());
    entry->ClearChanged();
    entry->SetText2("x");
    EXPECT_FALSE(entry->IsNumberBlockChanged() || entry->IsText1Changed());
    EXPECT_TRUE(entry->IsText2Changed());
}

TEST_F(SettingsTest, CommittingAnUnchangedEditMarksNothing)
{
    COrvaneSettings settings;
    settings.Load();
    for (const auto& entry : settings.CheckSettings()) {
        entry->BeginEdit();
        entry->CommitEdit();
        EXPECT_FALSE(entry->IsNumberBlockChanged() || entry->IsText1Changed() || entry->IsText2Changed());
    }
}

TEST_F(SettingsTest, AnEditChangesValuesOnlyWhenCommitted)
{
    COrvaneSettings settings;
    settings.Load();
    CheckSetting* entry = settings.FindCheckSetting(11, 0x1);
    entry->BeginEdit();
    EXPECT_EQ(entry->PendingAutoRepairMode(), 0);
    entry->SetPendingAlwaysInclude(true);
    entry->SetPendingAutoRepairMode(1);
    entry->SetPendingText1("em");
    entry->SetPendingRememberedNumber(1);
    EXPECT_FALSE(entry->AlwaysInclude());
    EXPECT_EQ(entry->Text1(), "");

    entry->CommitEdit();
    EXPECT_TRUE(entry->AlwaysInclude());
    EXPECT_EQ(entry->AutoRepairMode(), 1);
    EXPECT_EQ(entry->Text1(), "em");
    EXPECT_EQ(entry->RememberedNumber(), 1);
    EXPECT_TRUE(entry->IsNumberBlockChanged());
    EXPECT_TRUE(entry->IsText1Changed());
    EXPECT_FALSE(entry->IsText2Changed());

    // A dropped edit leaves the values alone.
    entry->BeginEdit();
    entry->SetPendingText1("strong");
    EXPECT_EQ(entry->Text1(), "em");
}

} // namespace
} // namespace orvane::test
