#pragma once

#include "library/registry/object_database.h"
#include "library/registry/registry_changed.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::test {

// A folder of its own for each test, under the test home when there is one,
// and a changed flag that starts clear.
class ObjectRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* home = std::getenv("ORVANE_HOME");
        std::filesystem::path base = home && *home ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = base / "registry-tests" / (std::string(info->test_suite_name()) + "." + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        SetRegistryChanged(false);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        SetRegistryChanged(false);
    }

    std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
    std::string RegistryPath() const { return PathOf("ObjectRegistry.xml"); }

    void WriteFile(const std::string& path, const std::string& bytes) const
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    const std::filesystem::path& Folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

} // namespace orvane::test
