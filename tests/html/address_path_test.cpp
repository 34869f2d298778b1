#include "library/html/address_path.h"

#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;

TEST(AddressToPath, RelativeAddressesWindowsForm)
{
    EXPECT_EQ(AddressToPath("C:\\site\\pages\\", "img/logo.gif", kWin), "C:\\site\\pages\\img\\logo.gif");
    EXPECT_EQ(AddressToPath("C:\\site\\pages\\", "../img/logo.gif", kWin), "C:\\site\\img\\logo.gif");
    EXPECT_EQ(AddressToPath("C:\\site\\", "../../../a.gif", kWin), "C:\\a.gif");  // never above the drive
    EXPECT_EQ(AddressToPath("", "../a.gif", kWin), "a.gif");
}

TEST(AddressToPath, RelativeAddressesPosixForm)
{
    EXPECT_EQ(AddressToPath("/srv/site/pages/", "img/logo.gif"), "/srv/site/pages/img/logo.gif");
    EXPECT_EQ(AddressToPath("/srv/site/pages/", "../img/logo.gif"), "/srv/site/img/logo.gif");
    EXPECT_EQ(AddressToPath("/srv/", "../../../a.gif"), "/a.gif");  // never above the root
}

TEST(AddressToPath, InnerDotSegmentsAreResolved)
{
    EXPECT_EQ(AddressToPath("/srv/site/", "img/../pics/./a.gif"), "/srv/site/pics/a.gif");
    EXPECT_EQ(AddressToPath("C:\\site\\", "img/../a.gif", kWin), "C:\\site\\a.gif");
}

TEST(AddressToPath, FileAddresses)
{
    EXPECT_EQ(AddressToPath("C:\\x\\", "file:///C|/docs/a.html", kWin), "C:\\docs\\a.html");
    EXPECT_EQ(AddressToPath("C:\\x\\", "file://localhost/C:/docs/a.html", kWin), "C:\\docs\\a.html");
    EXPECT_EQ(AddressToPath("C:\\x\\", "file://server/docs/a.html", kWin), "");
    EXPECT_EQ(AddressToPath("/x/", "file:///home/u/docs/a.html"), "/home/u/docs/a.html");
    EXPECT_EQ(AddressToPath("/x/", "FILE://localhost/home/u/a.html"), "/home/u/a.html");
    EXPECT_EQ(AddressToPath("/x/", "file://server/docs/a.html"), "");
}

TEST(AddressToPath, WebAddressesAreRefusedWithAMessage)
{
    platform::CStringTable strings;
    strings.Parse("111\tOrvane\n219\tOnly local files can be opened: \n");
    platform::ScopedStrings useStrings(strings);
    CPromptCapture capture;
    EXPECT_EQ(AddressToPath("/srv/", "HTTP://example.org/a.gif"), "");
    ASSERT_EQ(capture.prompt.messages.size(), 1u);
    EXPECT_EQ(capture.prompt.messages[0].text, "Only local files can be opened: HTTP://example.org/a.gif");
    EXPECT_EQ(capture.prompt.messages[0].caption, "Orvane");
}

TEST(AddressToPath, NoAbsoluteAddressIsANameInThePageFolder)
{
    platform::CStringTable strings;
    strings.Parse("111\tOrvane\n219\tNot a local file: \n");
    platform::ScopedStrings useStrings(strings);
    CPromptCapture capture;
    const char* const absolute[] = {"https://x/y.gif", "mailto:a@b.org", "//cdn/x.gif", "/x.gif",
                                    "ftp://h/a", "svn+ssh://h/r", "data:image/gif;base64,R0lG"};
    for (const char* address : absolute) {
        EXPECT_TRUE(IsAbsoluteAddress(address)) << address;
        EXPECT_EQ(AddressToPath("/srv/site/", address), "") << address;
        EXPECT_EQ(AddressToPath("C:\\site\\", address, kWin), "") << address;
    }
    EXPECT_EQ(capture.prompt.messages.size(), 2 * std::size(absolute));
    EXPECT_EQ(capture.prompt.messages[0].text, "Not a local file: https://x/y.gif");
    // Plain names, names with a colon later on, drive letters and file addresses keep their meaning.
    for (const char* address : {"a.gif", "img/a.gif", "../a.gif", "1x:y.gif", "a/b:c.gif", "C:/x.gif"})
        EXPECT_FALSE(IsAbsoluteAddress(address)) << address;
    EXPECT_TRUE(IsAbsoluteAddress("file:///x/a.gif"));
    EXPECT_EQ(AddressToPath("/x/", "file:///srv/a.gif"), "/srv/a.gif");
    EXPECT_EQ(AddressToPath("/srv/site/", "1x:y.gif"), "/srv/site/1x:y.gif");
    EXPECT_EQ(capture.prompt.messages.size(), 2 * std::size(absolute));
}

TEST(SplitFileAddress, PartsOfTheAddress)
{
    SplitPath parts;
    ASSERT_TRUE(SplitFileAddress("file:\\\\\\C|\\docs\\report.v2.html", parts, kWin));
    EXPECT_EQ(parts.drive, "C:");
    EXPECT_EQ(parts.directory, "\\docs\\");
    EXPECT_EQ(parts.fileName, "report.v2");
    EXPECT_EQ(parts.extension, ".html");
    ASSERT_TRUE(SplitFileAddress("file:///home/u/README", parts));
    EXPECT_EQ(parts.directory, "/home/u/");
    EXPECT_EQ(parts.fileName, "README");
    EXPECT_EQ(parts.extension, "");
    EXPECT_FALSE(SplitFileAddress("ftp://x/y", parts));
    EXPECT_TRUE(parts.directory.empty());
}

TEST(PathToAddress, WindowsForm)
{
    EXPECT_EQ(PathToAddress("C:\\site\\", "D:\\img\\a.gif", kWin), "file:///D|/img/a.gif");
    EXPECT_EQ(PathToAddress("C:\\site\\", "C:\\site\\img\\a.gif", kWin), "img/a.gif");
    EXPECT_EQ(PathToAddress("C:\\site\\pages\\", "C:\\site\\img\\a.gif", kWin), "../img/a.gif");
    EXPECT_EQ(PathToAddress("C:\\site\\pages\\", "C:\\site\\pics\\a.gif", kWin), "../pics/a.gif");
    EXPECT_EQ(PathToAddress("C:\\site\\", "C:\\site\\a.gif", kWin), "a.gif");
}

TEST(PathToAddress, PosixForm)
{
    EXPECT_EQ(PathToAddress("/srv/site/", "/srv/site/img/a.gif"), "img/a.gif");
    EXPECT_EQ(PathToAddress("/srv/site/pages/", "/srv/site/img/a.gif"), "../img/a.gif");
    EXPECT_EQ(PathToAddress("/srv/site/pages/", "/srv/site/pics/a.gif"), "../pics/a.gif");
    EXPECT_EQ(PathToAddress("/srv/site/", "/srv/site/a.gif"), "a.gif");
    EXPECT_EQ(PathToAddress("/srv/site/deep/er/", "/home/u/a.gif"), "../../../../home/u/a.gif");
}

TEST(PathToAddress, ConvertsBackToTheSameFile)
{
    const std::string base = "/srv/site/pages/";
    for (std::string file : {"/srv/site/img/a.gif", "/srv/site/pages/x/y.png", "/etc/z"}) {
        EXPECT_EQ(AddressToPath(base, PathToAddress(base, file)), file);
    }
}

} // namespace
} // namespace orvane::test
