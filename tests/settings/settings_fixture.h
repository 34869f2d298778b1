#pragma once

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/string_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace orvane::test {

// Settings against a registry file of their own, built from the real catalogue.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_folder = std::filesystem::temp_directory_path() / ("orvane-settings-" + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
        m_registryFile = (m_folder / "UserRegistry.reg").string();
        m_registry = platform::CreateFileRegistry(m_registryFile);
        m_registryScope = std::make_unique<platform::ScopedRegistry>(*m_registry);
        m_strings.Parse("394\tUnlabelled controls\n411\tLong descriptions without d link\n");
        m_stringsScope = std::make_unique<platform::ScopedStrings>(m_strings);
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
    }

    void TearDown() override
    {
        COrvaneSettings::InstallCatalogue(nullptr);
        m_stringsScope.reset();
        m_registryScope.reset();
        m_registry.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    // The settings key for writing values by hand, created when missing.
    std::unique_ptr<platform::IRegistryKey> Key() { return m_registry->CreateKey(platform::kOrvaneRegistryKey); }
    // The key as another process would read it now; null when it is missing.
    std::unique_ptr<platform::IRegistryKey> StoredKey()
    {
        return platform::CreateFileRegistry(m_registryFile)->OpenKey(platform::kOrvaneRegistryKey,
                                                                     platform::RegistryAccess::Read);
    }

    std::filesystem::path m_folder;
    std::string m_registryFile;
    std::unique_ptr<platform::IRegistry> m_registry;
    std::unique_ptr<platform::ScopedRegistry> m_registryScope;
    platform::CStringTable m_strings;
    std::unique_ptr<platform::ScopedStrings> m_stringsScope;
};

} // namespace orvane::test
