#pragma once

// What the tests of the commands share: the string tables and the check
// catalogue the commands show, a folder of pages in the test's own home, a
// user registry there when the test needs one, and a run of `orvane` with
// what it wrote.
#include "cli/commands.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/bundle_strings.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace orvane::test {

class CommandFixture : public ::testing::Test {
protected:
    // The pages go into ORVANE_HOME/folderName: a fixed name in the shared
    // temporary folder would be emptied by the same test of another build
    // running beside it.
    explicit CommandFixture(std::string folderName = "pages") : m_folderName(std::move(folderName)) {}

    static void SetUpTestSuite()
    {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }
    void SetUp() override
    {
        const char* orvaneHome = std::getenv("ORVANE_HOME");
        ASSERT_TRUE(orvaneHome && *orvaneHome);
        home = orvaneHome;
        folder = home / m_folderName;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // The user registry as a file in the home, used until the test ends; its path.
    std::string UseRegistryInHome()
    {
        const std::string file = (home / "UserRegistry.reg").string();
        m_store = platform::CreateFileRegistry(file);
        m_scope = std::make_unique<platform::ScopedRegistry>(*m_store);
        return file;
    }

    // A page (or any file) of the folder, its folders made; its path.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::filesystem::path path = folder / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // `orvane ARGS...`; what it wrote is in out and err.
    int Run(const cli::Arguments& args)
    {
        out.str("");
        err.str("");
        return cli::RunMain(args, out, err);
    }

    std::filesystem::path home;
    std::filesystem::path folder;
    std::ostringstream out;
    std::ostringstream err;

private:
    std::string m_folderName;
    std::unique_ptr<platform::IRegistry> m_store;
    std::unique_ptr<platform::ScopedRegistry> m_scope;
};

} // namespace orvane::test
