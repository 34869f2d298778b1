#include "lang_codes.h"

#include "text_util.h"

#include "platform/file_system.h"
#include "platform/paths.h"

#include <memory>

namespace orvane {
namespace {

// The next piece of the file as a text-mode read of at most `limit`
// characters takes it: up to and including a line feed, a carriage return
// before a line feed not seen. False at the end of the file.
bool ReadPiece(std::istream& in, std::size_t limit, std::string& piece)
{
    piece.clear();
    std::streambuf* buffer = in.rdbuf();
    if (!buffer)
        return false;
    using Traits = std::char_traits<char>;
    while (piece.size() < limit) {
        Traits::int_type c = buffer->sbumpc();
        if (Traits::eq_int_type(c, Traits::eof()))
            break;
        char ch = Traits::to_char_type(c);
        if (ch == '\r' && Traits::eq_int_type(buffer->sgetc(), Traits::to_int_type('\n')))
            continue;
        piece.push_back(ch);
        if (ch == '\n')
            break;
    }
    return !piece.empty();
}

// Splits at commas, a run of commas being one separator; at most `count` fields.
std::vector<std::string_view> Fields(std::string_view line, std::size_t count)
{
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (fields.size() < count) {
        while (i < line.size() && line[i] == ',')
            ++i;
        if (i >= line.size())
            break;
        std::size_t end = line.find(',', i);
        if (end == std::string_view::npos)
            end = line.size();
        fields.push_back(line.substr(i, end - i));
        i = end;
    }
    return fields;
}

} // namespace

CLanguageCodeList& CLanguageCodeList::Library()
{
    static CLanguageCodeList list;
    return list;
}

int CLanguageCodeList::Load()
{
    if (m_loaded)
        return 1;
    std::string path = platform::FindDataFile(std::string(kFileName));
    if (path.empty())
        return 0;
    return Load(path);
}

int CLanguageCodeList::Load(const std::string& path)
{
    if (m_loaded)
        return 1;
    std::unique_ptr<std::istream> in = platform::OpenForReading(path);
    if (!in)
        return 0;
    return Load(*in);
}

int CLanguageCodeList::Load(std::istream& in)
{
    if (m_loaded)
        return 1;
    std::string piece;
    while (ReadPiece(in, kLineLimit, piece)) {
        std::string_view line(piece);
        line.remove_suffix(1);
        std::vector<std::string_view> fields = Fields(line, 3);
        fields.resize(3);
        const CLanguageRecord& record = m_codes.emplace_back(
            std::string(TrimLeft(fields[0])), std::string(TrimLeft(fields[1])), std::string(fields[2]));
        m_validCodes.insert(record.FirstCode());
        m_validCodes.insert(record.SecondCode());
    }
    m_loaded = true;
    return 1;
}

void CLanguageCodeList::Free()
{
    m_codes.clear();
    m_codes.shrink_to_fit();
    m_validCodes.clear();
    m_loaded = false;
}

bool CLanguageCodeList::IsValidCode(std::string_view code) const
{
    return m_validCodes.find(code) != m_validCodes.end();
}

} // namespace orvane
