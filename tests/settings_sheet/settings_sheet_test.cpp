#include "help_about_stub.h"
#include "library/html/lang_codes.h"
#include "library/html/language_names.h"
#include "library/settings/sheet_settings.h"
#include "tests/settings/settings_fixture.h"
#include "tests/support/memory_window.h"
#include "tests/support/test_support.h"

#include <algorithm>
#include <sstream>

namespace orvane::test {
namespace {

using platform::kIdOk;

constexpr int kSheet = 9001, kAdvanced = 9110;
constexpr int kLevelPage = 0, kAutoRepairPage = 1, kFileSavesPage = 2, kLongdescPage = 3;
constexpr int kRadioA = 1264, kRadioAAA = 1266, kRadio508 = 1267;
constexpr int kAdvancedA = 9124, kAdvancedAA = 9125, kAdvanced508 = 9126;
constexpr int kInsertIcon = 9127, kIconsLocation = 9128, kAriaNames = 1241;
constexpr int kAutoList = 9130, kLanguage = 9141, kTag = 9143;
constexpr int kOriginalExtension = 9150, kValidateExtension = 9151;
constexpr int kAdvancedList = 9170;

// The sheet with the product's English texts, a settings store of its own and
// the shipped language list.
class SettingsSheetTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        m_stringsScope.reset();
        m_english.Parse(ReadFileBytes(std::string(ORVANE_TEMPLATES_DIR) + "/../strings/en.txt"));
        m_englishScope = std::make_unique<platform::ScopedStrings>(m_english);
        CLanguageCodeList::Library().Load(std::string(ORVANE_TEMPLATES_DIR) + "/../LangCodes.txt");
        g_helpTopics.clear();
        g_aboutBoxes = 0;
    }
    void TearDown() override
    {
        CLanguageCodeList::Library().Free();
        m_englishScope.reset();
        SettingsTest::TearDown();
    }

    static int RowOf(CMemoryWindow& window, int list, std::string_view titlePart)
    {
        const auto texts = window.ItemTexts(list);
        for (std::size_t row = 0; row < texts.size(); ++row) {
            if (texts[row].find(titlePart) != std::string::npos)
                return static_cast<int>(row);
        }
        ADD_FAILURE() << "no row with " << titlePart;
        return -1;
    }
    // What another process reads from the store now.
    bool StoredAnyCheckValue()
    {
        auto key = StoredKey();
        COrvaneSettings names;
        names.Load();
        for (const auto& setting : names.CheckSettings()) {
            if (key && (key->QueryDword(setting->Name()) || key->QueryString(setting->Name() + "-1", 99) ||
                        key->QueryString(setting->Name() + "-2", 99)))
                return true;
        }
        return false;
    }

    CMemoryWindows m_windows;
    platform::CStringTable m_english;
    std::unique_ptr<platform::ScopedStrings> m_englishScope;
};

const std::string kBlinkTitle = "Blinking or scrolling text";
const std::string kLanguageTitle = "Page language not given";

TEST_F(SettingsSheetTest, TheLevelPageOffersTheAdvancedDialogOfTheChosenLevelAndWantsAnIconsLocation)
{
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        EXPECT_EQ(sheet.Title(), "Orvane");
        EXPECT_EQ(sheet.IconId(), 128);
        EXPECT_EQ(sheet.SystemCommands(), std::vector<std::string>{"&About Orvane..."});
        ASSERT_EQ(sheet.PageCount(), 4);
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        auto enabledButtons = [&] {
            return std::vector<bool>{level.IsEnabled(kAdvancedA), level.IsEnabled(kAdvancedAA),
                                     level.IsEnabled(kAdvanced508)};
        };
        EXPECT_TRUE(level.IsChecked(kRadioAAA)); // a fresh user checks at AAA
        EXPECT_EQ(enabledButtons(), (std::vector<bool>{false, false, false}));
        level.Click(kRadio508);
        EXPECT_EQ(enabledButtons(), (std::vector<bool>{false, false, true}));
        EXPECT_TRUE(level.IsVisible(9123));
        EXPECT_FALSE(level.IsVisible(9122));
        level.Click(kRadioA);
        EXPECT_EQ(enabledButtons(), (std::vector<bool>{true, false, false}));
        level.Click(kRadioAAA);
        EXPECT_EQ(enabledButtons(), (std::vector<bool>{false, false, false}));

        // The icon without a location: the page cannot be left and OK keeps the sheet open, unsaved.
        level.Click(kInsertIcon);
        level.Type(kIconsLocation, "   ");
        sheet.ChooseTab(kFileSavesPage);
        EXPECT_EQ(sheet.CurrentPage(), kLevelPage);
        sheet.ChooseTab(kFileSavesPage);
        sheet.Click(kIdOk);
        ASSERT_FALSE(sheet.HasEnded());
        EXPECT_EQ(sheet.CurrentPage(), kLevelPage);
        EXPECT_EQ(StoredKey(), nullptr);
        ASSERT_EQ(m_windows.prompt.messages.size(), 3u); // two refused tabs, one refused OK
        EXPECT_EQ(m_windows.prompt.messages[2].text,
                  "Please give the location of the conformance icons, or do not insert the icon.");
        EXPECT_EQ(m_windows.prompt.messages[2].caption, "Orvane");

        level.Type(kIconsLocation, "  https://example.org/icons/ ");
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    COrvaneSettings stored;
    stored.Load();
    EXPECT_TRUE(stored.GetInsertIcon());
    EXPECT_EQ(stored.GetIconsLocation(), "https://example.org/icons");
    EXPECT_FALSE(StoredAnyCheckValue());
}

TEST_F(SettingsSheetTest, AWcag22TargetIsChosenLikeTheOthersAndShownNextTime)
{
    constexpr int kRadioWcag22AA = 9133, kRadioWcag22AAA = 9134, kDescriptionWcag22 = 9135;
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        EXPECT_FALSE(level.IsVisible(kDescriptionWcag22));
        level.Click(kRadioWcag22AA);
        EXPECT_FALSE(level.IsChecked(kRadioAAA));
        EXPECT_TRUE(level.IsVisible(kDescriptionWcag22));
        EXPECT_FALSE(level.IsVisible(9122));
        // No WCAG 1.0 priorities lie above a WCAG 2.2 target.
        EXPECT_FALSE(level.IsEnabled(kAdvancedA));
        EXPECT_FALSE(level.IsEnabled(kAdvancedAA));
        EXPECT_FALSE(level.IsEnabled(kAdvanced508));
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    COrvaneSettings stored;
    stored.Load();
    EXPECT_EQ(stored.GetConformanceLevel(), level::kWcag22AA);
    EXPECT_EQ(StoredKey()->QueryString("WaiConformance", 10), "2.2-AA");

    // Shown as stored; another WCAG 2.2 level replaces it, and a WCAG 1.0 one after that.
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        EXPECT_TRUE(level.IsChecked(kRadioWcag22AA));
        EXPECT_TRUE(level.IsVisible(kDescriptionWcag22));
        level.Click(kRadioWcag22AAA);
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    stored.Load();
    EXPECT_EQ(stored.GetConformanceLevel(), level::kWcag22AAA);
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        level.Click(kRadioA);
        EXPECT_FALSE(level.IsChecked(kRadioWcag22AAA));
        EXPECT_FALSE(level.IsVisible(kDescriptionWcag22));
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    stored.Load();
    EXPECT_EQ(stored.GetConformanceLevel(), level::kA);
}

TEST_F(SettingsSheetTest, AriaNamesChosenOnTheLevelPageAreStoredAndShownNextTime)
{
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        EXPECT_FALSE(level.IsChecked(kAriaNames));
        level.Click(kAriaNames);
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    COrvaneSettings stored;
    stored.Load();
    EXPECT_TRUE(stored.GetAriaNames());
    EXPECT_FALSE(StoredAnyCheckValue());

    // Shown as stored; switched off again, off it stays.
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        EXPECT_TRUE(level.IsChecked(kAriaNames));
        level.Click(kAriaNames);
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    stored.Load();
    EXPECT_FALSE(stored.GetAriaNames());
}

TEST_F(SettingsSheetTest, TheAdvancedDialogAddsChecksAboveLevelAAndTheNextCheckUsesThem)
{
    std::string includedByRows;
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        CMemoryWindow& level = sheet.PageWindow(kLevelPage);
        level.Click(kRadioA);
        sheet.ChooseTab(kAutoRepairPage);
        CMemoryWindow& autoRepair = sheet.PageWindow(kAutoRepairPage);
        for (const std::string& text : autoRepair.ItemTexts(kAutoList))
            EXPECT_EQ(text.find(kBlinkTitle), std::string::npos) << "a priority 2 check at level A";
        sheet.ChooseTab(kLevelPage);
        level.Click(kAdvancedA);
        sheet.ChooseTab(kAutoRepairPage);
        EXPECT_NE(RowOf(autoRepair, kAutoList, kBlinkTitle), -1);
        // A second visit, cancelled: what it switched is forgotten.
        sheet.ChooseTab(kLevelPage);
        level.Click(kAdvancedA);
        sheet.Click(kIdOk);
    });
    m_windows.WhenShown(kAdvanced, [&](CMemoryWindow& dialog) {
        EXPECT_EQ(dialog.Title(), "Conformance level A: the checks of priority 1 are always included. "
                                  "Choose the checks of priority 2 and 3 to include as well.");
        EXPECT_EQ(dialog.ImageStrip(kAdvancedList), 222);
        COrvaneSettings catalogue;
        catalogue.Load();
        int expected = 0;
        for (const auto& setting : catalogue.CheckSettings())
            expected += setting->Priority() >= 2 && setting->Family() != 93 &&
                        !(setting->Family() == 44 && setting->CheckBit() == 0x80);
        ASSERT_EQ(dialog.ItemCount(kAdvancedList), expected);
        for (const std::string& priority : dialog.ItemTexts(kAdvancedList, 1))
            EXPECT_TRUE(priority == "BITV I-2" || priority == "BITV II-3") << priority;
        EXPECT_EQ(dialog.SelectedRows(kAdvancedList), std::vector<int>{0});

        const std::string firstText = dialog.ItemText(kAdvancedList, 0);
        EXPECT_EQ(firstText.rfind("Off - ", 0), 0u);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, 0), 3);
        dialog.DoubleClickRow(kAdvancedList, 0);
        EXPECT_EQ(dialog.ItemText(kAdvancedList, 0).rfind("On - ", 0), 0u);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, 0), 1);
        dialog.DoubleClickRow(kAdvancedList, 0);
        EXPECT_EQ(dialog.ItemText(kAdvancedList, 0), firstText);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, 0), 3);

        const int blink = RowOf(dialog, kAdvancedList, kBlinkTitle);
        dialog.SelectOnlyRows(kAdvancedList, {blink, blink + 1});
        dialog.PressKey(kAdvancedList, platform::Key::Space);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, blink), 1);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, blink + 1), 1);
        includedByRows = dialog.ItemText(kAdvancedList, blink + 1).substr(5);
        dialog.Click(kIdOk);
    });
    m_windows.WhenShown(kAdvanced, [&](CMemoryWindow& dialog) {
        const int blink = RowOf(dialog, kAdvancedList, kBlinkTitle);
        EXPECT_EQ(dialog.ItemIcon(kAdvancedList, blink), 1);
        dialog.SelectOnlyRows(kAdvancedList, {blink});
        dialog.DoubleClickRow(kAdvancedList, blink);
        dialog.PressEscape();
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);

    // The library reloads the stored settings for its next check.
    COrvaneSettings library;
    library.Load();
    EXPECT_EQ(library.GetConformanceLevel(), level::kA);
    for (const ElementPtr& family : CreateCatalogueFamilies()) {
        if (family->Kind() == 11) {
            EXPECT_TRUE(CheckApplies(*family, library, 0x1)) << "blinking text counts at A once included";
        }
    }
    int included = 0;
    for (const auto& setting : library.CheckSettings()) {
        if (setting->AlwaysInclude() && setting->Name() != "ImageDLink") {
            ++included;
            EXPECT_TRUE(setting->Title() == includedByRows || setting->Title().find(kBlinkTitle) == 0)
                << setting->Title();
        }
    }
    EXPECT_EQ(included, 2);
}

TEST_F(SettingsSheetTest, ConfirmingTheAutomaticRepairPageUnchangedStoresNoCheckValue)
{
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        sheet.ChooseTab(kAutoRepairPage);
        CMemoryWindow& page = sheet.PageWindow(kAutoRepairPage);
        const int language = RowOf(page, kAutoList, kLanguageTitle);
        page.SelectOnlyRows(kAutoList, {language});
        ASSERT_TRUE(page.IsVisible(kLanguage));
        // Nothing remembered, no language is chosen: each page gets its own.
        EXPECT_EQ(page.CurrentItem(kLanguage), -1);
        page.SelectOnlyRows(kAutoList, {RowOf(page, kAutoList, kBlinkTitle)});
        EXPECT_FALSE(page.IsVisible(kLanguage));
        EXPECT_EQ(page.ItemText(kTag, page.CurrentItem(kTag)), "strong");
        page.SelectOnlyRows(kAutoList, {0, 1});
        EXPECT_FALSE(page.IsVisible(kLanguage) || page.IsVisible(kTag));
        sheet.ChooseTab(kFileSavesPage);
        sheet.ChooseTab(kLongdescPage);
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    ASSERT_NE(StoredKey(), nullptr);
    EXPECT_FALSE(StoredAnyCheckValue());
}

TEST_F(SettingsSheetTest, RepairChoicesAndFileSavesMadeInTheSheetAreWhatTheLibraryLoads)
{
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        sheet.ChooseTab(kAutoRepairPage);
        CMemoryWindow& page = sheet.PageWindow(kAutoRepairPage);
        const int language = RowOf(page, kAutoList, kLanguageTitle);
        page.SelectOnlyRows(kAutoList, {language});
        page.PressKey(kAutoList, platform::Key::Space);
        EXPECT_EQ(page.ItemText(kAutoList, language).rfind("On - ", 0), 0u);
        const auto names = page.ItemTexts(kLanguage);
        page.Choose(kLanguage, static_cast<int>(std::find(names.begin(), names.end(), "French") - names.begin()));

        page.SelectOnlyRows(kAutoList, {RowOf(page, kAutoList, kBlinkTitle)});
        page.Click(1128);
        page.Choose(kTag, 0); // "em (emphasis)"

        sheet.ChooseTab(kFileSavesPage);
        CMemoryWindow& saves = sheet.PageWindow(kFileSavesPage);
        EXPECT_TRUE(saves.IsChecked(1007));
        saves.Click(1006);
        saves.Type(kOriginalExtension, "bak");
        saves.Type(kValidateExtension, ".");

        sheet.ChooseTab(kLongdescPage);
        CMemoryWindow& longdesc = sheet.PageWindow(kLongdescPage);
        EXPECT_TRUE(longdesc.IsChecked(9160));
        longdesc.Click(9160);
        EXPECT_FALSE(longdesc.IsEnabled(1407));
        longdesc.Click(9160);
        longdesc.Click(1407);
        sheet.PressEnter();
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);

    COrvaneSettings library;
    library.Load();
    EXPECT_EQ(library.GetAutoRepairMode(41, 0x2), autorepair::kOn);
    EXPECT_EQ(library.GetText1(41, 0x2), "fr");
    EXPECT_EQ(library.GetText1(11, 0x1), "em");
    EXPECT_EQ(library.GetText2(11, 0x1), "");
    EXPECT_EQ(library.GetRememberedNumber(11, 0x1), 1);
    EXPECT_EQ(library.GetAutoRepairMode(44, 0x80), autorepair::kOn);
    EXPECT_EQ(library.GetFileSaves(), filesaves::kBeside);
    EXPECT_EQ(library.GetOriginalExtension(), ".bak");
    EXPECT_EQ(library.GetValidateExtension(), ".htmlvalid");
    EXPECT_EQ(CPageSettingsFileSaves::NormalisedExtension(".", ".htmlold"), ".htmlold");
}

// Extensions under which a save would take a page's name, or a backup's, are
// refused with the reason, on leaving the page and on OK, and nothing is stored.
TEST_F(SettingsSheetTest, TheFileSavesPageRefusesExtensionsOfPages)
{
    const std::string reason = "The extensions of the backup and of the repaired copy must differ from each other "
                               "and from the extensions of pages (.html, .htm, .shtml, .shtm, .xhtml), or a save "
                               "could write over a page.";
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        sheet.ChooseTab(kFileSavesPage);
        CMemoryWindow& saves = sheet.PageWindow(kFileSavesPage);
        saves.Type(kValidateExtension, "htm");
        sheet.ChooseTab(kLevelPage);
        EXPECT_EQ(sheet.CurrentPage(), kFileSavesPage);
        sheet.Click(kIdOk);
        ASSERT_FALSE(sheet.HasEnded());
        EXPECT_EQ(sheet.CurrentPage(), kFileSavesPage);
        saves.Type(kValidateExtension, ".valid");
        saves.Type(kOriginalExtension, ".VALID");
        sheet.Click(kIdOk);
        ASSERT_FALSE(sheet.HasEnded());
        EXPECT_EQ(StoredKey(), nullptr);
        ASSERT_EQ(m_windows.prompt.messages.size(), 3u); // a refused tab, two refused OKs
        for (const auto& message : m_windows.prompt.messages) {
            EXPECT_EQ(message.text, reason);
            EXPECT_EQ(message.caption, "Orvane");
        }
        saves.Type(kOriginalExtension, ".old");
        sheet.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), kIdOk);
    COrvaneSettings stored;
    stored.Load();
    EXPECT_EQ(stored.GetOriginalExtension(), ".old");
    EXPECT_EQ(stored.GetValidateExtension(), ".valid");
}

TEST_F(SettingsSheetTest, HelpFollowsThePageAboutIsAtHandAndCancelWritesNothing)
{
    m_windows.WhenShown(kSheet, [&](CMemoryWindow& sheet) {
        for (int page : {kLevelPage, kAutoRepairPage, kFileSavesPage, kLongdescPage}) {
            sheet.ChooseTab(page);
            sheet.Click(platform::kIdHelp);
        }
        sheet.ChooseSystemCommand(platform::kCommandAbout);
        sheet.ChooseTab(kLevelPage);
        sheet.PageWindow(kLevelPage).Click(kRadio508);
        sheet.PageWindow(kLevelPage).Click(kAdvanced508);
        sheet.Click(platform::kIdCancel);
    });
    m_windows.WhenShown(kAdvanced, [&](CMemoryWindow& dialog) {
        EXPECT_EQ(dialog.Title(), "Section 508: choose the checks outside the Section 508 rules to include as well.");
        dialog.PressKey(kAdvancedList, platform::Key::Space);
        dialog.PressHelp();
        dialog.Click(kIdOk);
    });
    EXPECT_EQ(RunSettingsSheet(nullptr), platform::kIdCancel);
    EXPECT_EQ(g_helpTopics, (std::vector<std::string>{"Conformance.html", "AutoRepairs.html", "SavingFiles.html",
                                                      "dLinks.html", "ConformanceLevelAdvanced.html"}));
    EXPECT_EQ(g_aboutBoxes, 1);
    EXPECT_EQ(StoredKey(), nullptr);
}

TEST(LanguageChoicesTest, GermanUsersSeeGermanNamesInGermanOrder)
{
    CLanguageCodeList list;
    std::istringstream file("en,eng,English\nfr,fra,French\nde,deu,German\nxx,xxx,Made up\n");
    list.Load(file);
    auto names = [](const std::vector<LanguageChoice>& choices) {
        std::vector<std::string> result;
        for (const auto& choice : choices)
            result.push_back(choice.name + "=" + choice.record->FirstCode());
        return result;
    };
    EXPECT_EQ(names(LanguageChoices(list, "en")),
              (std::vector<std::string>{"English=en", "French=fr", "German=de", "Made up=xx"}));
    EXPECT_EQ(names(LanguageChoices(list, "de")),
              (std::vector<std::string>{"Deutsch=de", "Englisch=en", "Französisch=fr", "Made up=xx"}));
}

} // namespace
} // namespace orvane::test
