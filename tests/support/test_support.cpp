#include "test_support.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvane::test {

std::string CorpusDirectory()
{
    std::error_code error;
    if (std::filesystem::is_directory(ORVANE_CORPUS_DIR, error))
        return ORVANE_CORPUS_DIR;
    return {};
}

std::vector<std::string> CorpusPages()
{
    std::vector<std::string> pages;
    std::string folder = CorpusDirectory();
    if (folder.empty())
        return pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file())
            pages.push_back(entry.path().string());
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

CScopedHome::CScopedHome(const std::string& folder)
{
    if (const char* home = std::getenv("ORVANE_HOME"))
        m_previous = home;
    std::filesystem::create_directories(folder);
    setenv("ORVANE_HOME", folder.c_str(), 1);
}

CScopedHome::~CScopedHome()
{
    if (m_previous)
        setenv("ORVANE_HOME", m_previous->c_str(), 1);
    else
        unsetenv("ORVANE_HOME");
}

} // namespace orvane::test
