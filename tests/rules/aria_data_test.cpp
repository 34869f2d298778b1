// The committed WAI-ARIA table against the package it is generated from,
// when the package is at hand (ORVANE_ARIA_QUERY names its folder).
#include "library/a11y/aria_data.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orvane::test {
namespace {

TEST(AriaData, TheCommittedTableIsWhatTheInstalledPackageGenerates)
{
    const char* package = std::getenv("ORVANE_ARIA_QUERY");
    if (!package || !std::filesystem::is_directory(package))
        GTEST_SKIP() << "aria-query is not installed (set ORVANE_ARIA_QUERY to its folder to compare)";
    if (std::system("node --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "node is not installed";
    const std::string source = ORVANE_SOURCE_DIR;
    const std::string generated = (std::filesystem::temp_directory_path() / "orvane_aria_data_test.inc").string();
    const std::string command = "node \"" + source + "/scripts/generate_aria_data.js\" \"" + package + "\" > \"" +
                                generated + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string fresh = ReadFileBytes(generated);
    std::remove(generated.c_str());
    EXPECT_EQ(fresh, ReadFileBytes(source + "/library/a11y/aria_data.inc"))
        << "regenerate library/a11y/aria_data.inc with scripts/generate_aria_data.js";
}

TEST(AriaData, RolesAndPropertiesAreThoseOfWaiAria12)
{
    EXPECT_FALSE(a11y::kAriaDataVersion.empty());
    const a11y::AriaRole* listitem = a11y::FindAriaRole("listitem");
    ASSERT_NE(listitem, nullptr);
    EXPECT_NE(std::find(listitem->requiredContext.begin(), listitem->requiredContext.end(), "list"),
              listitem->requiredContext.end());
    const a11y::AriaRole* checkbox = a11y::FindAriaRole("checkbox");
    ASSERT_NE(checkbox, nullptr);
    EXPECT_TRUE(checkbox->childrenPresentational);
    EXPECT_TRUE(checkbox->IsA("widget"));
    EXPECT_EQ(checkbox->requiredProperties, std::vector<std::string_view>{"aria-checked"});
    ASSERT_NE(a11y::FindAriaRole("widget"), nullptr);
    EXPECT_TRUE(a11y::FindAriaRole("widget")->abstract);
    EXPECT_EQ(a11y::FindAriaRole("notarole"), nullptr);

    const a11y::AriaProperty* current = a11y::FindAriaProperty("aria-current");
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->type, "token");
    EXPECT_TRUE(current->global);
    EXPECT_EQ(a11y::FindAriaProperty("aria-labeledby"), nullptr);
    EXPECT_FALSE(a11y::FindAriaProperty("aria-checked")->global);
}

} // namespace
} // namespace orvane::test
