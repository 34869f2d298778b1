#include "page_generator.h"

#include <array>
#include <string_view>

namespace orvane::bench {
namespace {

// splitmix64: small, fast and the same everywhere, unlike the standard
// distributions, whose results differ between library implementations.
class CRandom {
public:
    explicit CRandom(std::uint32_t seed) : m_state(0x9E3779B97F4A7C15ULL ^ seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>((Next() >> 11) % n); }
    std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
    // True in percent out of 100 cases.
    bool Chance(unsigned percent) { return Below(100) < percent; }

    template <class T, std::size_t N>
    const T& Pick(const std::array<T, N>& items)
    {
        return items[Below(N)];
    }

private:
    std::uint64_t m_state;
};

constexpr std::array<std::string_view, 120> kWords{
    "the",      "of",        "and",      "to",        "in",        "is",        "that",     "for",
    "it",       "as",        "with",     "was",       "on",        "be",        "at",       "by",
    "this",     "had",       "not",      "are",       "but",       "from",      "or",       "have",
    "an",       "they",      "which",    "one",       "you",       "were",      "her",      "all",
    "she",      "there",     "would",    "their",     "we",        "him",       "been",     "has",
    "when",     "who",       "will",     "more",      "no",        "if",        "out",      "so",
    "said",     "what",      "up",       "its",       "about",     "into",      "than",     "them",
    "can",      "only",      "other",    "new",       "some",      "could",     "time",     "these",
    "two",      "may",       "then",     "do",        "first",     "any",       "my",       "now",
    "such",     "like",      "our",      "over",      "man",       "me",        "even",     "most",
    "made",     "after",     "also",     "did",       "many",      "before",    "must",     "through",
    "years",    "where",     "much",     "your",      "way",       "well",      "down",     "should",
    "because",  "each",      "just",     "those",     "people",    "library",   "accessible", "page",
    "image",    "table",     "service",  "department", "students", "research",  "program",  "office",
    "caf\xe9",  "r\xe9sum\xe9", "&amp;", "&nbsp;",    "information", "community", "history", "annual",
};

constexpr std::array<std::string_view, 12> kImageNames{
    "logo",   "spacer", "photo",  "banner", "arrow", "bullet",
    "header", "chart",  "button", "map",    "icon",  "portrait",
};

constexpr std::array<std::string_view, 8> kLinkTexts{
    "click here", "more", "Read the annual report", "Home", "next page", "here",
    "Contact the office", "Download (PDF, 2 MB)",
};

constexpr std::array<std::string_view, 6> kColours{
    "#FFFFFF", "#000080", "red", "#ff0000", "Navy", "#C0C0C0",
};

constexpr std::array<std::string_view, 5> kAsciiArt{
    "   /\\_/\\\n  ( o.o )\n   > ^ <\n",
    "+------+------+\n| Q1   | Q2   |\n+------+------+\n| 12.5 | 14.1 |\n+------+------+\n",
    "    *\n   ***\n  *****\n *******\n    |\n",
    " _______\n|  ___  |\n| |   | |\n| |___| |\n|_______|\n",
    "<-- back    ---    next -->\n=============================\n",
};

class CPageWriter {
public:
    explicit CPageWriter(std::uint32_t seed) : m_random(seed) {}

    std::string Generate(std::size_t targetBytes);

private:
    // Every block is written with "\n" line ends and then copied into the page,
    // with carriage returns added for some blocks, as pages edited on several
    // systems have them.
    void Emit(std::string_view block);

    void Words(std::size_t count, bool capital);
    void Sentence();
    void Prose(std::size_t sentences);
    void Attr(std::string_view name, std::string_view value);
    void Image(bool inLink);

    void Head();
    void Heading();
    void Paragraph();
    void Images();
    void LinkList();
    void Tables();
    void DataTable();
    void Form();
    void Script();
    void Style();
    void Comment();
    void ImageMap();
    void Preformatted();
    void Oddities();

    CRandom m_random;
    std::string m_page;
    std::string m_block;
    std::size_t m_serial = 0;
};

void CPageWriter::Emit(std::string_view block)
{
    if (!m_random.Chance(20)) {
        m_page.append(block);
        return;
    }
    for (char c : block) {
        if (c == '\n')
            m_page.push_back('\r');
        m_page.push_back(c);
    }
}

void CPageWriter::Words(std::size_t count, bool capital)
{
    for (std::size_t i = 0; i < count; ++i) {
        std::string_view word = m_random.Pick(kWords);
        if (i > 0)
            m_block.push_back(' ');
        std::size_t start = m_block.size();
        m_block.append(word);
        if (i == 0 && capital && m_block[start] >= 'a' && m_block[start] <= 'z')
            m_block[start] = static_cast<char>(m_block[start] - 'a' + 'A');
    }
}

void CPageWriter::Sentence()
{
    Words(m_random.Between(4, 18), true);
    m_block.append(m_random.Chance(85) ? "." : (m_random.Chance(50) ? "?" : "!"));
}

void CPageWriter::Prose(std::size_t sentences)
{
    std::size_t lineStart = m_block.rfind('\n');
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    for (std::size_t s = 0; s < sentences; ++s) {
        if (s > 0)
            m_block.push_back(' ');
        switch (m_random.Below(12)) {
        case 0:
            m_block.append("<b>");
            Sentence();
            m_block.append("</b>");
            break;
        case 1:
            m_block.append(m_random.Chance(50) ? "<i>" : "<EM>");
            Sentence();
            m_block.append(m_random.Chance(90) ? "</i>" : "");  // now and then left open
            break;
        case 2:
            m_block.append("<a href=\"page");
            m_block.append(std::to_string(m_random.Below(500)));
            m_block.append(".html\">");
            m_block.append(m_random.Pick(kLinkTexts));
            m_block.append("</a> ");
            Sentence();
            break;
        case 3:
            m_block.append("<font color=\"");
            m_block.append(m_random.Pick(kColours));
            m_block.append("\" face='Arial'>");
            Sentence();
            m_block.append("</font>");
            break;
        case 4:
            // A bare '<' in prose, as hand-written pages have it.
            Words(3, true);
            m_block.append(m_random.Chance(50) ? " < " : " <= ");
            Words(3, false);
            m_block.push_back('.');
            break;
        default:
            Sentence();
            break;
        }
        // Hard-wrapped like an editor would, without cutting a tag.
        if (m_block.size() - lineStart > 72 && m_block.back() != '>') {
            m_block.push_back('\n');
            lineStart = m_block.size();
        }
    }
}

void CPageWriter::Attr(std::string_view name, std::string_view value)
{
    m_block.push_back(' ');
    m_block.append(name);
    m_block.push_back('=');
    switch (m_random.Below(10)) {
    case 0:
    case 1:
        if (value.find(' ') == std::string_view::npos) {
            m_block.append(value);  // unquoted
            return;
        }
        [[fallthrough]];
    case 2:
        m_block.push_back('\'');
        m_block.append(value);
        m_block.push_back('\'');
        return;
    default:
        m_block.push_back('"');
        m_block.append(value);
        m_block.push_back('"');
        return;
    }
}

void CPageWriter::Image(bool inLink)
{
    std::string name(m_random.Pick(kImageNames));
    // One draw per statement: the operands of + are evaluated in an order
    // that differs between compilers, and so would the page.
    const bool gif = m_random.Chance(70);
    const std::size_t number = m_random.Below(40);
    std::string src = "images/" + name + std::to_string(number) + (gif ? ".gif" : ".jpg");
    m_block.append(m_random.Chance(10) ? "<IMG" : "<img");
    Attr(m_random.Chance(10) ? "SRC" : "src", src);
    switch (m_random.Below(6)) {
    case 0:
        break;  // no alt
    case 1:
        Attr("alt", "");
        break;
    case 2:
        Attr("alt", name == "spacer" ? " " : name + ".gif");
        break;
    default: {
        std::string alt;
        std::size_t mark = m_block.size();
        Words(m_random.Between(2, 7), true);
        alt = m_block.substr(mark);
        m_block.resize(mark);
        Attr("alt", alt);
        break;
    }
    }
    if (m_random.Chance(8))
        Attr("longdesc", "desc/" + name + ".html");
    if (m_random.Chance(60)) {
        Attr("width", std::to_string(m_random.Between(1, 640)));
        Attr("height", std::to_string(m_random.Between(1, 480)));
    }
    if (inLink || m_random.Chance(20))
        Attr("border", "0");
    if (m_random.Chance(10))
        Attr("align", m_random.Chance(50) ? "left" : "right");
    m_block.append(m_random.Chance(5) ? " />" : ">");
}

void CPageWriter::Head()
{
    m_block.assign("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n<head>\n<title>");
    Words(m_random.Between(2, 6), true);
    m_block.append("</title>\n"
                   "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
                   "<meta name=keywords content='library, services, hours'>\n"
                   "<link rel=\"stylesheet\" type=\"text/css\" href=\"site.css\">\n");
    Emit(m_block);
    Style();
    Script();
    m_block.assign("</head>\n<body");
    Attr("bgcolor", m_random.Pick(kColours));
    Attr("text", "#000000");
    Attr("link", "#0000FF");
    m_block.append(">\n");
    Emit(m_block);
}

void CPageWriter::Heading()
{
    std::size_t level = m_random.Between(1, 6);
    bool upper = m_random.Chance(15);
    m_block.assign(upper ? "<H" : "<h");
    m_block.append(std::to_string(level));
    if (m_random.Chance(20))
        Attr("align", "center");
    m_block.push_back('>');
    Words(m_random.Between(1, 8), true);
    m_block.append(upper ? "</H" : "</h");
    m_block.append(std::to_string(level));
    m_block.append(">\n");
    Emit(m_block);
}

void CPageWriter::Paragraph()
{
    m_block.assign(m_random.Chance(10) ? "<P" : "<p");
    if (m_random.Chance(15))
        Attr("class", "note");
    m_block.push_back('>');
    Prose(m_random.Between(2, 9));
    // Many pages never close their paragraphs.
    m_block.append(m_random.Chance(60) ? "</p>\n" : "\n");
    Emit(m_block);
}

void CPageWriter::Images()
{
    const bool centred = m_random.Chance(50);
    m_block.assign(centred ? "<div align=\"center\">\n" : "<p>\n");
    std::size_t count = m_random.Between(1, 6);
    for (std::size_t i = 0; i < count; ++i) {
        bool inLink = m_random.Chance(35);
        if (inLink) {
            m_block.append("<a href=\"gallery/");
            m_block.append(std::to_string(++m_serial));
            m_block.append(".html\"");
            if (m_random.Chance(20))
                m_block.append(" target=\"_blank\"");
            m_block.push_back('>');
        }
        Image(inLink);
        if (inLink) {
            if (m_random.Chance(30))
                m_block.append(" Larger view");
            m_block.append("</a>");
        }
        m_block.append(m_random.Chance(30) ? "<br>\n" : "\n");
    }
    m_block.append(centred ? "</div>\n" : "</p>\n");
    Emit(m_block);
}

void CPageWriter::LinkList()
{
    bool ordered = m_random.Chance(30);
    m_block.assign(ordered ? "<ol>\n" : (m_random.Chance(10) ? "<UL>\n" : "<ul>\n"));
    std::size_t count = m_random.Between(2, 12);
    for (std::size_t i = 0; i < count; ++i) {
        m_block.append("  <li><a href=\"");
        if (m_random.Chance(30))
            m_block.append("http://www.example.org/");
        m_block.append("section");
        m_block.append(std::to_string(m_random.Below(900)));
        m_block.append(".html\"");
        if (m_random.Chance(15))
            m_block.append(" title=\"Opens the section\"");
        if (m_random.Chance(5))
            m_block.append(" onclick=\"window.open(this.href); return false;\"");
        m_block.push_back('>');
        if (m_random.Chance(20))
            m_block.append(m_random.Pick(kLinkTexts));
        else
            Words(m_random.Between(1, 6), true);
        m_block.append("</a>");
        m_block.append(m_random.Chance(50) ? "</li>\n" : "\n");  // li left open half the time
    }
    m_block.append(ordered ? "</ol>\n" : "</ul>\n");
    Emit(m_block);
}

void CPageWriter::DataTable()
{
    std::size_t columns = m_random.Between(2, 6);
    std::size_t rows = m_random.Between(2, 10);
    m_block.append("<table border=\"1\" cellspacing=\"0\"");
    if (m_random.Chance(50)) {
        m_block.append(" summary=\"");
        Words(m_random.Between(3, 10), true);
        m_block.push_back('"');
    }
    m_block.append(">\n");
    if (m_random.Chance(60)) {
        m_block.append("<caption>");
        Words(m_random.Between(2, 6), true);
        m_block.append("</caption>\n");
    }
    bool headers = m_random.Chance(70);
    m_block.append("<tr>");
    for (std::size_t c = 0; c < columns; ++c) {
        m_block.append(headers ? (m_random.Chance(40) ? "<th scope=\"col\">" : "<th>") : "<td><b>");
        Words(m_random.Between(1, 3), true);
        m_block.append(headers ? "</th>" : "</b></td>");
    }
    m_block.append("</tr>\n");
    for (std::size_t r = 0; r < rows; ++r) {
        m_block.append(m_random.Chance(10) ? "<TR>" : "<tr>");
        for (std::size_t c = 0; c < columns; ++c) {
            if (c == 0 && headers && m_random.Chance(40)) {
                m_block.append("<th scope=row>");
                Words(1, true);
                m_block.append("</th>");
                continue;
            }
            m_block.append(m_random.Chance(10) ? "<TD align=right>" : "<td>");
            m_block.append(std::to_string(m_random.Below(100000)));
            m_block.push_back('.');
            m_block.append(std::to_string(m_random.Below(100)));
            if (m_random.Chance(85))
                m_block.append("</td>");
        }
        m_block.append("</tr>\n");
    }
    m_block.append("</table>\n");
}

void CPageWriter::Tables()
{
    // A layout table of one or two rows; cells hold prose, links, images or a data table.
    m_block.assign("<table width=\"100%\" border=0 cellpadding='4'>\n");
    std::size_t rows = m_random.Between(1, 2);
    for (std::size_t r = 0; r < rows; ++r) {
        m_block.append("<tr>\n");
        std::size_t cells = m_random.Between(1, 3);
        for (std::size_t c = 0; c < cells; ++c) {
            m_block.append("<td valign=\"top\"");
            if (m_random.Chance(30))
                Attr("bgcolor", m_random.Pick(kColours));
            m_block.append(">\n");
            switch (m_random.Below(4)) {
            case 0:
                DataTable();
                break;
            case 1:
                Image(false);
                m_block.push_back('\n');
                break;
            case 2: {
                m_block.append("<table><tr><td>");
                Words(m_random.Between(1, 5), true);
                m_block.append("</td></tr></table>\n");
                break;
            }
            default:
                Prose(m_random.Between(1, 4));
                m_block.push_back('\n');
                break;
            }
            m_block.append("</td>\n");
        }
        m_block.append("</tr>\n");
    }
    m_block.append("</table>\n");
    Emit(m_block);
}

void CPageWriter::Form()
{
    std::size_t id = ++m_serial;
    m_block.assign("<form action=\"/cgi-bin/search.pl\" method=post>\n");
    std::size_t fields = m_random.Between(1, 5);
    for (std::size_t f = 0; f < fields; ++f) {
        std::string name = "f" + std::to_string(id) + "_" + std::to_string(f);
        bool labelled = m_random.Chance(50);
        if (labelled) {
            m_block.append("<label for=\"");
            m_block.append(name);
            m_block.append("\">");
            Words(m_random.Between(1, 3), true);
            m_block.append("</label>\n");
        } else {
            Words(m_random.Between(1, 3), true);
            m_block.append(": ");
        }
        switch (m_random.Below(6)) {
        case 0:
            m_block.append("<select");
            Attr("name", name);
            if (labelled)
                Attr("id", name);
            m_block.append(">\n");
            for (std::size_t o = 0, n = m_random.Between(2, 6); o < n; ++o) {
                m_block.append("<option value=\"");
                m_block.append(std::to_string(o));
                m_block.append(o == 0 ? "\" selected>" : "\">");
                Words(m_random.Between(1, 3), true);
                m_block.append(m_random.Chance(60) ? "</option>\n" : "\n");
            }
            m_block.append("</select>\n");
            break;
        case 1:
            m_block.append("<textarea");
            Attr("name", name);
            if (labelled)
                Attr("id", name);
            m_block.append(" rows=\"4\" cols=\"40\">");
            if (m_random.Chance(50))
                Words(m_random.Between(1, 8), true);
            m_block.append("</textarea>\n");
            break;
        case 2:
            m_block.append("<input type=\"checkbox\"");
            Attr("name", name);
            if (labelled)
                Attr("id", name);
            m_block.append(" value=\"yes\" checked>\n");
            break;
        default:
            m_block.append(m_random.Chance(20) ? "<INPUT TYPE=TEXT" : "<input type=\"text\"");
            Attr("name", name);
            if (labelled)
                Attr("id", name);
            if (m_random.Chance(30))
                Attr("size", "30");
            m_block.append(">\n");
            break;
        }
        m_block.append(m_random.Chance(50) ? "<br>\n" : "\n");
    }
    if (m_random.Chance(30))
        m_block.append("<input type=\"image\" src=\"images/go.gif\" name=\"go\">\n");
    else
        m_block.append("<input type=\"submit\" value=\"Search\"> <input type=reset>\n");
    m_block.append("</form>\n");
    Emit(m_block);
}

void CPageWriter::Script()
{
    m_block.assign("<script type=\"text/javascript\" language=\"JavaScript\">\n<!--\n");
    std::size_t n = ++m_serial;
    m_block.append("function swap");
    m_block.append(std::to_string(n));
    m_block.append("(img, on) {\n  if (document.images && on < 2) {\n"
                   "    img.src = on ? 'images/on.gif' : 'images/off.gif';\n  }\n}\n");
    if (m_random.Chance(30))
        m_block.append("document.write('<img src=\"counter.gif\" width=1 height=1>');\n");
    m_block.append("// -->\n</script>\n");
    if (m_random.Chance(50)) {
        m_block.append("<noscript>");
        Sentence();
        m_block.append("</noscript>\n");
    }
    Emit(m_block);
}

void CPageWriter::Style()
{
    m_block.assign("<style type=\"text/css\">\n<!--\n");
    m_block.append("body { font-family: Verdana, Arial, sans-serif; color: #333333; }\n"
                   "a:link { color: #0000cc } a:visited { color: #551a8b }\n");
    if (m_random.Chance(50))
        m_block.append(".note { background: #ffffe0; border: 1px solid #cc9; }\n");
    m_block.append("-->\n</style>\n");
    Emit(m_block);
}

void CPageWriter::Comment()
{
    switch (m_random.Below(4)) {
    case 0:
        m_block.assign("<!-- ");
        Words(m_random.Between(1, 8), true);
        m_block.append(" -->\n");
        break;
    case 1:
        m_block.assign("<!--\n  ");
        Sentence();
        m_block.append("\n  ");
        Sentence();
        m_block.append("\n-->\n");
        break;
    case 2:
        m_block.assign("<!-- begin navigation -- do not edit -->\n");
        break;
    default:
        m_block.assign("<!-- <p>Old text, taken out:</p>\n<img src=\"old.gif\">\n-- >\n");
        break;
    }
    Emit(m_block);
}

void CPageWriter::ImageMap()
{
    std::string name = "nav" + std::to_string(++m_serial);
    m_block.assign("<map name=\"");
    m_block.append(name);
    m_block.append("\">\n");
    std::size_t areas = m_random.Between(1, 6);
    for (std::size_t a = 0; a < areas; ++a) {
        std::size_t x = a * 50;
        m_block.append("<area shape=\"rect\" coords=\"");
        m_block.append(std::to_string(x) + ",0," + std::to_string(x + 49) + ",20");
        m_block.append("\" href=\"part");
        m_block.append(std::to_string(a));
        m_block.append(".html\"");
        if (m_random.Chance(60)) {
            m_block.append(" alt=\"");
            Words(m_random.Between(1, 3), true);
            m_block.push_back('"');
        }
        m_block.append(">\n");
    }
    m_block.append("</map>\n<img src=\"images/navbar.gif\" usemap=\"#");
    m_block.append(name);
    m_block.append(m_random.Chance(50) ? "\" alt=\"Navigation\" border=\"0\">\n" : "\" border=0>\n");
    Emit(m_block);
}

void CPageWriter::Preformatted()
{
    m_block.assign(m_random.Chance(15) ? "<PRE>\n" : "<pre>\n");
    m_block.append(m_random.Pick(kAsciiArt));
    m_block.append("</pre>\n");
    Emit(m_block);
}

void CPageWriter::Oddities()
{
    switch (m_random.Below(8)) {
    case 0:
        m_block.assign("<center><blink>New!</blink></center>\n");
        break;
    case 1:
        m_block.assign("<marquee behavior=scroll>");
        Sentence();
        m_block.append("</marquee>\n");
        break;
    case 2:
        m_block.assign("<hr size=1 noshade>\n");
        break;
    case 3:
        m_block.assign("<applet code=\"Clock.class\" width=\"100\" height=\"40\"><param name=\"bg\" value=\"white\"></applet>\n");
        break;
    case 4:
        m_block.assign("<object data=\"movie.swf\" type=\"application/x-shockwave-flash\"><embed src=\"movie.swf\"></object>\n");
        break;
    case 5:
        m_block.assign("<iframe src=\"news.html\" width=\"300\" height=\"200\"></iframe>\n");
        break;
    case 6:
        // A tag that the author never closed, and a stray bracket before the next line.
        m_block.assign("<div class=\"footer\"\n<p>");
        Sentence();
        m_block.append("\n");
        break;
    default:
        m_block.assign("<dl><dt>");
        Words(2, true);
        m_block.append("<dd>");
        Sentence();
        m_block.append("</dl>\n");
        break;
    }
    Emit(m_block);
}

std::string CPageWriter::Generate(std::size_t targetBytes)
{
    constexpr std::string_view kClosing = "</body>\n</html>\n";
    m_page.reserve(targetBytes + 8192);
    Head();
    while (m_page.size() + kClosing.size() < targetBytes) {
        // Weights follow what typical pages of the kind are made of: mostly
        // prose and images, some tables and lists, fewer forms and maps.
        std::size_t pick = m_random.Below(100);
        if (pick < 10)
            Heading();
        else if (pick < 40)
            Paragraph();
        else if (pick < 52)
            Images();
        else if (pick < 60)
            LinkList();
        else if (pick < 68)
            Tables();
        else if (pick < 73)
            Form();
        else if (pick < 77)
            Script();
        else if (pick < 79)
            Style();
        else if (pick < 85)
            Comment();
        else if (pick < 89)
            ImageMap();
        else if (pick < 93)
            Preformatted();
        else
            Oddities();
    }
    m_page.append(kClosing);
    return std::move(m_page);
}

} // namespace

std::string GeneratePage(std::size_t targetBytes, std::uint32_t seed)
{
    return CPageWriter(seed).Generate(targetBytes);
}

} // namespace orvane::bench
