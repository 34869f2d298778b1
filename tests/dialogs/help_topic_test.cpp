#include "library/dialogs/help_topic.h"

#include "platform/help.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

class CBrokenHelp final : public platform::IHelpViewer {
public:
    bool Open(const std::string& helpFile) override
    {
        opened.push_back(helpFile);
        return false;
    }
    std::string OpenFile() const override { return {}; }
    bool ShowTopic(platform::IWindow*, std::string_view topic) override
    {
        shown.emplace_back(topic);
        return true;
    }
    std::vector<std::string> opened;
    std::vector<std::string> shown;
};

// The whole life of the process's help binding, so one test: a help file that
// cannot be opened is given up on at the first request.
TEST(HelpTopic, NothingWithoutAViewerAndAFailureIsRememberedAndNotRetried)
{
    EXPECT_EQ(ShowHelpTopic(nullptr, "1-1-1.html"), 0);

    CBrokenHelp viewer;
    platform::SetHelpViewer(&viewer);
    EXPECT_EQ(ShowHelpTopic(nullptr, ""), 0);
    EXPECT_TRUE(viewer.opened.empty()) << "an empty topic shows nothing";

    EXPECT_EQ(ShowHelpTopic(nullptr, "1-1-1.html"), 0);
    EXPECT_LE(viewer.opened.size(), 1u);
    const std::size_t attempts = viewer.opened.size();
    EXPECT_EQ(ShowHelpTopic(nullptr, "OverviewDialog.html"), 0);
    EXPECT_EQ(ShowHelpTopic(nullptr, "1-1-1.html"), 0);
    EXPECT_EQ(viewer.opened.size(), attempts);
    EXPECT_TRUE(viewer.shown.empty());
    platform::SetHelpViewer(nullptr);
}

} // namespace
} // namespace orvane
