// orvane_generate_page BYTES [SEED]: writes a generated page of about that
// size to standard output, for benchmarks that run whole programs.
#include "page_generator.h"

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: orvane_generate_page BYTES [SEED]\n";
        return 2;
    }
    std::size_t bytes = std::strtoull(argv[1], nullptr, 10);
    auto seed = static_cast<std::uint32_t>(argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 20240601);
    std::string page = orvane::bench::GeneratePage(bytes, seed);
    std::cout.write(page.data(), static_cast<std::streamsize>(page.size()));
    return std::cout ? 0 : 1;
}
