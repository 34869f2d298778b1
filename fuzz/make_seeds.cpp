// Writes the seed inputs of the fuzz targets: hand-made edge cases, generated
// pages, and slices and tags of the shared page corpus when it is there.
//
//   orvane_fuzz_seeds CORPUS_DIR OUT_DIR [LANGUAGE_CODE_FILE]
//
// Each seed folder below OUT_DIR (page, attributes, registry, langcodes,
// settings) is emptied and filled anew; the language code file shipped with
// the library seeds its target as well.
#include "file_seeds.h"
#include "fuzz_services.h"

#include "bench/page_generator.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSliceLength = 4096;
constexpr std::size_t kSlicesPerPage = 4;
constexpr std::size_t kTagsPerPage = 24;

// Pages that reach the corners of the tokenizer and the document.
const std::vector<std::string_view> kEdgePages{
    "<html><body><p>Hello</p></body></html>\n",
    "just text, no tag at all\n",
    "<unknown>only an unknown tag</unknown>\n",
    "<p>a < b and c > d</p>\n",
    "<!-- a comment -- with a dash pair -- >still comment-->after\n",
    "<!-- unterminated comment\nover lines\n",
    "<!---->\n<!-->\n<!--->\n",
    "<xmp><b>raw</b> <i>text</xmp><b>tag again</b>\n",
    "<script><!-- if (a < b) document.write('<p>'); //--></script>\n",
    "<style>p { color: red }</style><a href=x><style>a{}</style>text</a>\n",
    "<a href=\"x\"><img src=a.gif alt=''>link</a>\n",
    "<map name=\"m\"><area shape=rect coords=\"0,0,1,1\" href=a><area href=b></map><img src=i usemap=\"#m\">\n",
    "<map name=m><area href=a></map><map name=m><area href=b></map><img usemap=#m>\n",
    "<blink>one</blink><marquee>two</marquee><textarea name=t>three</textarea>\n",
    "<ol><li>a<ul><li>b</ul></ol><frameset><frame src=a><frame src=b></frameset>\n",
    "<p>one<p>two</p>\n",
    "<P\r\nALIGN=center>crlf\r\n</P>\r\n",
    "<p>unfinished tag at the end <b",
    "<",
    "<>",
    "</>",
    "< / a>",
    "<!-",
    "<!doctype html><html>\n",
    std::string_view("<p>zero\0byte</p>\n", 17),
    "\r\n\r\n<br>\r",
};

const std::vector<std::string_view> kEdgeTags{
    "<IMG SRC=\"a.gif\" Alt=''>",
    "<input checked name=x>",
    "</a>",
    "<a href  =  \"x y\">",
    "<td width=50%>",
    "<br/>",
    "<br / >",
    "<p align=center\tclass=x>",
    "<img\nsrc=a\r\nalt=b>",
    "<font color=#ff0000 face='Arial, sans'>",
    "<body bgcolor=\"#FFFFFF\" text=Red link=#00ff00>",
    "<a href=\"unterminated",
    "<a ===x>",
    "<a b= c =d>",
    "<x a=\"1\"b='2'c=3>",
    "<td rowspan=-12 colspan=+3 width=99999999999999999999999>",
    "<img width=#ffffffffffffffffffff>",
    "<p a=>",
    "<p a",
    "< p>",
    "<<p>",
};

class CSeedFolder {
public:
    CSeedFolder(fs::path folder, std::string extension) : m_folder(std::move(folder)), m_extension(std::move(extension))
    {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    bool Add(std::string_view bytes)
    {
        char name[32];
        std::snprintf(name, sizeof name, "seed-%05zu", m_count++);
        return orvane::fuzz::WriteBytes(m_folder / (name + m_extension), bytes);
    }
    std::size_t Count() const { return m_count; }

private:
    fs::path m_folder;
    std::string m_extension;
    std::size_t m_count = 0;
};

// Up to kSlicesPerPage slices of a page, each starting at a tag.
std::vector<std::string_view> Slices(std::string_view page)
{
    std::vector<std::string_view> slices;
    std::size_t lastStart = std::string_view::npos;
    for (std::size_t k = 0; k < kSlicesPerPage; ++k) {
        std::size_t start = k == 0 ? 0 : page.find('<', page.size() * k / kSlicesPerPage);
        if (start == std::string_view::npos || start == lastStart)
            break;
        slices.push_back(page.substr(start, kSliceLength));
        lastStart = start;
        if (page.size() <= kSliceLength)
            break;
    }
    return slices;
}

// Distinct tags with attributes, as they stand in the page.
std::vector<std::string> Tags(std::string_view page, std::size_t limit)
{
    std::set<std::string> seen;
    std::vector<std::string> tags;
    for (std::size_t open = page.find('<'); open != std::string_view::npos && tags.size() < limit;
         open = page.find('<', open + 1)) {
        std::size_t close = page.find('>', open);
        if (close == std::string_view::npos)
            break;
        std::string tag(page.substr(open, close - open + 1));
        if (tag.size() > 2000 || tag.find('=') == std::string::npos || !seen.insert(tag).second)
            continue;
        tags.push_back(std::move(tag));
    }
    return tags;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: orvane_fuzz_seeds CORPUS_DIR OUT_DIR [LANGUAGE_CODE_FILE]\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    const fs::path out = argv[2];
    try {
        CSeedFolder pages(out / "page", ".html");
        CSeedFolder tags(out / "attributes", ".tag");
        for (std::string_view page : kEdgePages)
            pages.Add(page);
        for (std::string_view tag : kEdgeTags)
            tags.Add(tag);

        for (std::uint32_t seed = 1; seed <= 4; ++seed) {
            for (std::size_t size : {0, 400, 1500, 6000, 12000}) {
                std::string page = orvane::bench::GeneratePage(size, seed);
                pages.Add(page);
                if (size == 6000) {
                    for (const std::string& tag : Tags(page, kTagsPerPage))
                        tags.Add(tag);
                }
            }
        }

        std::error_code error;
        std::vector<fs::path> files;
        if (fs::is_directory(corpus, error)) {
            for (const auto& entry : fs::directory_iterator(corpus, error)) {
                if (entry.is_regular_file(error))
                    files.push_back(entry.path());
            }
        } else {
            std::fprintf(stderr, "orvane_fuzz_seeds: no corpus at %s; seeding from made pages only\n",
                         corpus.string().c_str());
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::string page = orvane::fuzz::ReadBytes(file);
            for (std::string_view slice : Slices(page))
                pages.Add(slice);
            for (const std::string& tag : Tags(page, kTagsPerPage))
                tags.Add(tag);
        }

        CSeedFolder registry(out / "registry", ".xml");
        for (const std::string& seed : orvane::fuzz::RegistrySeeds())
            registry.Add(seed);
        CSeedFolder languageCodes(out / "langcodes", ".txt");
        for (const std::string& seed : orvane::fuzz::LanguageCodeSeeds())
            languageCodes.Add(seed);
        if (argc == 4)
            languageCodes.Add(orvane::fuzz::ReadBytes(argv[3]));
        CSeedFolder settings(out / "settings", ".reg");
        for (const std::string& seed : orvane::fuzz::SettingsStoreSeeds())
            settings.Add(seed);
        CSeedFolder imageMaps(out / "imagemap", ".map");
        for (const std::string& seed : orvane::fuzz::ImageMapSeeds())
            imageMaps.Add(seed);

        std::printf("orvane_fuzz_seeds: %zu page seeds, %zu tag seeds, %zu registry, %zu language code, %zu "
                    "settings and %zu image map seeds in %s\n",
                    pages.Count(), tags.Count(), registry.Count(), languageCodes.Count(), settings.Count(),
                    imageMaps.Count(), out.string().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvane_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
