#include "platform/bundle_strings.h"
#include "platform/language.h"
#include "platform/services.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace orvane::platform {
namespace {

CStringTable ReadTable(const std::string& name)
{
    CStringTable table;
    int badLine = 0;
    table.Parse(test::ReadFileBytes(std::string(ORVANE_TEMPLATES_DIR) + "/../strings/" + name), &badLine);
    EXPECT_EQ(badLine, 0) << name;
    return table;
}

TEST(Languages, EveryStringHasAGermanTextWithTheSameArguments)
{
    const CStringTable english = ReadTable("en.txt");
    const CStringTable german = ReadTable("de.txt");
    ASSERT_GT(english.Size(), 50u);
    for (const auto& [id, text] : english.Strings()) {
        const std::string translated = german.Get(id);
        EXPECT_FALSE(translated.empty()) << "string " << id << " has no German text";
        for (const char* argument : {"%1", "%2", "%3"}) {
            EXPECT_EQ(text.find(argument) == std::string::npos, translated.find(argument) == std::string::npos)
                << "string " << id << " and its German text differ in " << argument;
        }
    }
    for (const auto& [id, text] : german.Strings())
        EXPECT_FALSE(english.Get(id).empty()) << "German string " << id << " has no English original";
}

class CEnvironment {
public:
    void Set(const char* name, const char* value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~CEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

TEST(Languages, ChosenByOrvaneLangElseByTheLocale)
{
    CEnvironment environment;
    environment.Set("LC_ALL", nullptr);
    environment.Set("LC_MESSAGES", nullptr);
    environment.Set("LANG", "de_DE.UTF-8");
    environment.Set("ORVANE_LANG", "en");
    EXPECT_EQ(UiLanguage(), "en");
    environment.Set("ORVANE_LANG", nullptr);
    EXPECT_EQ(UiLanguage(), "de");
    environment.Set("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(UiLanguage(), "en") << "LC_ALL comes before LANG";
    environment.Set("ORVANE_LANG", "de");
    EXPECT_EQ(UiLanguage(), "de");
    environment.Set("ORVANE_LANG", "xx");
    environment.Set("LC_ALL", nullptr);
    EXPECT_EQ(UiLanguage(), "de") << "an unknown choice leaves it to the locale";
}

TEST(Languages, TheBundleGivesTheStringsOfTheChosenLanguage)
{
    ASSERT_TRUE(InstallBundleStrings("OrvaneResources.rcc"));
    ASSERT_TRUE(InstallBundleLanguage("de"));
    EXPECT_EQ(Strings().Get(278), "Die Sprache der Seite ist nicht angegeben.");
    ASSERT_TRUE(InstallBundleLanguage("en"));
    EXPECT_EQ(Strings().Get(278), "The language of the page is not given.");
    SetStrings(nullptr);  // the other tests of this program start without strings
}

} // namespace
} // namespace orvane::platform
