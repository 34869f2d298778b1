// The invariants of the files users edit by hand (the object registry, the
// language codes, the settings store, server-side image maps), run over the
// hand-made seeds, the inputs fuzzing found, and the files the product writes
// itself.
#include "fuzz/file_invariants.h"
#include "fuzz/file_seeds.h"
#include "fuzz/fuzz_services.h"

#include "library/registry/object_database.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace orvane::test {
namespace {

namespace fs = std::filesystem;

class FileInvariants : public ::testing::Test {
protected:
    static void SetUpTestSuite() { fuzz::InstallCheckServices(); }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Every input of a regression folder, when there is one.
    static std::vector<std::string> Regressions(const char* kind)
    {
        std::vector<std::string> inputs;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(fs::path(ORVANE_FUZZ_REGRESSIONS_DIR) / kind, error))
            inputs.push_back(ReadFileBytes(entry.path().string()));
        return inputs;
    }

    const fs::path folder = fuzz::ScratchFolder(
        std::string("test-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(FileInvariants, RegistryFilesLoadSaveAndLoadAgainToTheSameRecords)
{
    for (const std::string& seed : fuzz::RegistrySeeds())
        EXPECT_EQ(fuzz::CheckRegistryFile(seed, folder), "") << seed;
    for (const std::string& input : Regressions("registry"))
        EXPECT_EQ(fuzz::CheckRegistryFile(input, folder), "") << input;
}

TEST_F(FileInvariants, TheFullRegistrySeedReallyLoads)
{
    // So the round trip above is not only ever tried on files that do not load.
    const std::string seed = fuzz::RegistrySeeds()[1];
    fs::create_directories(folder);
    const fs::path path = folder / "ObjectRegistry.xml";
    std::ofstream(path, std::ios::binary) << seed;
    CSrcObjectDatabase registry(path.string());
    ASSERT_EQ(registry.Load(), 1);
    EXPECT_EQ(registry.Images().size(), 2u);
    // The second document of a name is dropped whole.
    EXPECT_EQ(registry.Documents().size(), 1u);
}

TEST_F(FileInvariants, LanguageCodeFilesReadAlikeFromAStreamAndAFile)
{
    for (const std::string& seed : fuzz::LanguageCodeSeeds())
        EXPECT_EQ(fuzz::CheckLanguageCodes(seed, folder), "") << seed;
    for (const std::string& input : Regressions("langcodes"))
        EXPECT_EQ(fuzz::CheckLanguageCodes(input, folder), "") << input;
    EXPECT_EQ(fuzz::CheckLanguageCodes(ReadFileBytes(ORVANE_LANGUAGE_CODE_FILE), folder), "");
}

TEST_F(FileInvariants, SettingsStoresKeepEveryValueThroughASave)
{
    for (const std::string& seed : fuzz::SettingsStoreSeeds())
        EXPECT_EQ(fuzz::CheckSettingsStore(seed, folder), "") << seed;
    for (const std::string& input : Regressions("settings"))
        EXPECT_EQ(fuzz::CheckSettingsStore(input, folder), "") << input;
}

TEST_F(FileInvariants, ImageMapFilesSpliceIntoAPageAndOutAgain)
{
    for (const std::string& seed : fuzz::ImageMapSeeds())
        EXPECT_EQ(fuzz::CheckImageMapFile(seed, folder), "") << seed;
    for (const std::string& input : Regressions("imagemap"))
        EXPECT_EQ(fuzz::CheckImageMapFile(input, folder), "") << input;
}

} // namespace
} // namespace orvane::test
