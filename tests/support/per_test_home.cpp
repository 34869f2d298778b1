// Gives every test a home folder of its own, under the one its program was
// given: ctest runs the tests of one program side by side, and two of them
// writing one registry file in a shared home would overwrite each other. A
// program started by hand, without a home, gets one in the temporary folder,
// so a test never writes into the data folder of the one who runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class PerTestHome final : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override
    {
        const char* home = std::getenv("ORVANE_HOME");
        m_programHome = home && *home ? std::string(home) : testing::TempDir() + "orvane-tests-home";
        std::filesystem::path own = std::filesystem::path(m_programHome) /
                                    (std::string(test.test_suite_name()) + "." + test.name());
        std::error_code ignored;
        std::filesystem::remove_all(own, ignored);
        std::filesystem::create_directories(own, ignored);
        setenv("ORVANE_HOME", own.c_str(), 1);
    }

    void OnTestEnd(const testing::TestInfo&) override { setenv("ORVANE_HOME", m_programHome.c_str(), 1); }

private:
    std::string m_programHome;
};

[[maybe_unused]] const bool installed = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new PerTestHome);
    return true;
}();

} // namespace
