#pragma once

#include "library/ui/pages/text_alternatives/image_map_converter.h"
#include "platform/paths.h"
#include "platform/string_table.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::test {

// A converter with the product's strings, and map files written below the
// per-user folder of the test run.
class MapFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        strings.Parse(ReadFileBytes(ORVANE_STRINGS_FILE));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string WriteMap(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Reads and builds the map file; what BuildAreas said.
    int Convert(const std::string& bytes, const std::string& name = "nav.map")
    {
        EXPECT_EQ(converter.ReadMapFile(WriteMap(name, bytes)), 1) << converter.FailureText();
        return converter.BuildAreas();
    }

    platform::CStringTable strings;
    platform::ScopedStrings useStrings{strings};
    const std::string folder = platform::UserDataDirectory() + "/maps-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ImageMapConverter converter;
};

} // namespace orvane::test
