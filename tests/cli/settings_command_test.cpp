#include "command_fixture.h"

#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/registry.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace orvane::cli {
namespace {

namespace fs = std::filesystem;

class SettingsCommand : public test::CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        storeFile = UseRegistryInHome();
    }
    int Run(Arguments args)
    {
        args.insert(args.begin(), "settings");
        return CommandFixture::Run(args);
    }
    // The record as the settings sheet loads it.
    static std::unique_ptr<COrvaneSettings> Loaded()
    {
        auto settings = std::make_unique<COrvaneSettings>();
        settings->Load();
        return settings;
    }
    static const CheckSetting& Check(const COrvaneSettings& settings, const std::string& name)
    {
        for (const auto& check : settings.CheckSettings()) {
            if (check->Name() == name)
                return *check;
        }
        throw std::runtime_error("no check " + name);
    }

    std::string storeFile;
};

TEST_F(SettingsCommand, AFreshUserSeesTheDefaults)
{
    EXPECT_EQ(Run({}), kExitOk) << err.str();
    const std::string shown = out.str();
    EXPECT_EQ(shown.rfind("level: AAA\nfile-save: ask\noriginal-extension: .htmlold\nvalidated-extension: .htmlvalid\n"
                          "insert-icon: no\nicons-location: \nignore-repaired: yes\nshow-settled: no\naria-names: no\nlanguage: the page's own (nothing remembered): declared, else identified from its text\n"
                          "doctype: the page's own (nothing remembered): HTML 4.01 Transitional, or Frameset for framesets, in quirks mode\n",
                          0),
              0u)
        << shown;
    EXPECT_NE(shown.find("\ncheck "), std::string::npos) << shown;
    // The row of a check: applies at the target, always included, automatic repair.
    auto row = [&](const std::string& name) {
        const std::size_t at = shown.find("\n" + name + " ");
        return at == std::string::npos ? std::string() : shown.substr(at + 1, shown.find('\n', at + 1) - at - 1);
    };
    EXPECT_NE(row("MissingLanguage").find(" yes      no              off "), std::string::npos) << row("MissingLanguage");
    EXPECT_NE(row("ImgAltText").find(" yes      no              -  "), std::string::npos) << row("ImgAltText");
    EXPECT_FALSE(fs::exists(storeFile)) << "showing writes nothing";
}

TEST_F(SettingsCommand, WhatIsSetIsWhatTheSettingsSheetLoads)
{
    ASSERT_EQ(Run({"--set", "level=AA", "--set", "file-save=backup", "--set", "validated-extension=.fixed",
                   "--set", "auto-repair=MissingLanguage,DoctypeMissing", "--set", "always-include=ImageDLink",
                   "--set", "insert-icon=yes", "--set", "aria-names=yes"}),
              kExitOk)
        << err.str();
    std::unique_ptr<COrvaneSettings> settings = Loaded();
    EXPECT_EQ(settings->GetConformanceLevel(), level::kAA);
    EXPECT_EQ(settings->GetFileSaves(), filesaves::kReplaceKeepOriginal);
    EXPECT_EQ(settings->GetValidateExtension(), ".fixed");
    EXPECT_EQ(settings->GetOriginalExtension(), ".htmlold");
    EXPECT_TRUE(settings->GetInsertIcon());
    EXPECT_TRUE(settings->GetAriaNames());
    EXPECT_EQ(Check(*settings, "MissingLanguage").AutoRepairMode(), autorepair::kOn);
    EXPECT_EQ(Check(*settings, "DoctypeMissing").AutoRepairMode(), autorepair::kOn);
    EXPECT_EQ(Check(*settings, "BlinkMarquee").AutoRepairMode(), autorepair::kOff);
    EXPECT_TRUE(Check(*settings, "ImageDLink").AlwaysInclude());

    // A list is the whole set: what it leaves out is switched off.
    ASSERT_EQ(Run({"--set", "auto-repair=BlinkMarquee"}), kExitOk) << err.str();
    settings = Loaded();
    EXPECT_EQ(Check(*settings, "MissingLanguage").AutoRepairMode(), autorepair::kOff);
    EXPECT_EQ(Check(*settings, "BlinkMarquee").AutoRepairMode(), autorepair::kOn);
    EXPECT_EQ(settings->GetConformanceLevel(), level::kAA);

    // What the language and document type repairs put in.
    ASSERT_EQ(Run({"--set", "language=fr", "--set", "doctype=strict"}), kExitOk) << err.str();
    settings = Loaded();
    EXPECT_EQ(Check(*settings, "MissingLanguage").Text1(), "fr");
    EXPECT_EQ(Check(*settings, "DoctypeMissing").RememberedNumber(), 1331);

    EXPECT_EQ(Run({}), kExitOk);
    EXPECT_NE(out.str().find("level: AA\nfile-save: backup\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("\nlanguage: fr\ndoctype: strict\n"), std::string::npos) << out.str();
}

TEST_F(SettingsCommand, AWcag22TargetIsSetShownAndLoadedByTheSheet)
{
    ASSERT_EQ(Run({"--set", "level=2.2-aa"}), kExitOk) << err.str();
    EXPECT_EQ(Loaded()->GetConformanceLevel(), level::kWcag22AA);
    EXPECT_EQ(Run({}), kExitOk);
    EXPECT_EQ(out.str().rfind("level: 2.2-AA\n", 0), 0u) << out.str();
    // Back to a WCAG 1.0 target: the stored value is the one older versions read.
    ASSERT_EQ(Run({"--set", "level=AAA"}), kExitOk) << err.str();
    EXPECT_EQ(Loaded()->GetConformanceLevel(), level::kAAA);
}

TEST_F(SettingsCommand, ABadNameOrValueIsExplainedAndLeavesTheStoreAsItWas)
{
    ASSERT_EQ(Run({"--set", "level=A"}), kExitOk) << err.str();
    const std::string stored = test::ReadFileBytes(storeFile);
    ASSERT_FALSE(stored.empty());
    struct Case {
        const char* assignment;
        const char* message;
    };
    for (const Case& bad : {
             Case{"level=BITV", "level: BITV is not one of: A, AA, AAA, 508"},
             Case{"file-save=later", "file-save: later is not one of: replace, backup, beside, ask"},
             Case{"colour=red", "no setting is called colour; the settings are: level, file-save, "},
             Case{"auto-repair=MissingLanguage,ImgAltText", "auto-repair: ImgAltText is not one of: BlinkMarquee, DoctypeMissing"},
             Case{"always-include=NoSuchCheck", "always-include: NoSuchCheck is not one of: "},
             Case{"original-extension=old", "original-extension: old is no extension"},
             Case{"insert-icon=maybe", "insert-icon: maybe is not one of: yes, no"},
             Case{"language=english", "language: english is no language code of the code list"},
             Case{"doctype=html5", "doctype: html5 is not one of: frameset, transitional, strict"},
             Case{"level", "--set takes NAME=VALUE"},
         }) {
        // The good change before the bad one is not made either.
        EXPECT_EQ(Run({"--set", "file-save=replace", "--set", bad.assignment}), kExitError) << bad.assignment;
        EXPECT_NE(err.str().find(bad.message), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("nothing was changed"), std::string::npos) << err.str();
        EXPECT_EQ(test::ReadFileBytes(storeFile), stored) << bad.assignment;
    }
    EXPECT_EQ(Loaded()->GetFileSaves(), filesaves::kAsk);
}

} // namespace
} // namespace orvane::cli
