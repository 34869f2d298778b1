#include "test_support.h"

#include <algorithm>
#include <array>
#include <cstdio>
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

std::string ShellQuoted(std::string_view word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ShellOutput(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        output.append(buffer.data(), n);
    status = pclose(pipe);
    return output;
}

} // namespace orvane::test
