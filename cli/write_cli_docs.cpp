// Writes the manual page and the bash completion of the orvane command from
// its option table, each through a temporary file so that a failed run
// leaves no half-written file for the build to take as done.
#include "command_line.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool WriteWhole(const std::string& path, void (*write)(std::ostream&))
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        write(file);
        file.close();
        if (!file) {
            std::cerr << "write_cli_docs: cannot write " << temporary << '\n';
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::cerr << "write_cli_docs: cannot rename " << temporary << " to " << path << '\n';
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: write_cli_docs MANUAL_PAGE BASH_COMPLETION\n";
        return 2;
    }
    bool written = WriteWhole(argv[1], orvane::cli::WriteManualPage);
    written = WriteWhole(argv[2], orvane::cli::WriteBashCompletion) && written;
    return written ? 0 : 1;
}
