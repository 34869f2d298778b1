#include "check_report.h"

#include "library/html/page_encoding.h"
#include "library/tables/table_record.h"
#include "library/ui/problem_list.h"
#include "library/checks/wcag2_criteria.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <tuple>

namespace orvane::cli {
namespace {

// Writes the report as it goes, in the layout of a JSON document dumped with
// an indent of two (keys in byte order, "[]" and "{}" when empty), without
// building the document first: on a large page the document took more time
// and memory than checking the page did.
class CJsonWriter {
public:
    explicit CJsonWriter(std::ostream& out) : m_out(out), m_buffer(new char[kCapacity]) {}
    ~CJsonWriter() { Flush(); }

    // Objects and arrays: Open, then Key (objects) or Item (arrays) before
    // each member, then Close.
    void Open(char bracket)
    {
        Put(bracket);
        m_first = true;
        ++m_depth;
    }
    void Close(char bracket)
    {
        --m_depth;
        if (!m_first)
            NewLine();
        Put(bracket);
        m_first = false;
    }
    void Item()
    {
        Commit(PutItemStart(Room(2 + Indent())));
    }
    void Key(std::string_view key)
    {
        // Keys are the writer's own: short plain ASCII.
        char* at = PutItemStart(Room(2 + Indent() + key.size() + 4));
        *at++ = '"';
        std::memcpy(at, key.data(), key.size());
        at += key.size();
        std::memcpy(at, "\": ", 3);
        Commit(at + 3);
    }

    void String(std::string_view text)
    {
        // Most texts need no escape and are plain ASCII: copied whole.
        const std::size_t plainUpTo = PlainAsciiPrefix(text);
        if (plainUpTo == text.size()) {
            Put('"');
            Put(text);
            Put('"');
            return;
        }
        if (!IsValidUtf8(text.substr(plainUpTo))) {
            // Rare (pages in other code pages): the library's own replacement
            // keeps the output what it always was.
            Put(nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
            return;
        }
        Put('"');
        std::size_t plain = 0;
        for (std::size_t i = plainUpTo; i < text.size(); ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (c >= 0x20 && c != '"' && c != '\\')
                continue;
            Put(text.substr(plain, i - plain));
            plain = i + 1;
            switch (c) {
            case '"': Put("\\\""); break;
            case '\\': Put("\\\\"); break;
            case '\b': Put("\\b"); break;
            case '\f': Put("\\f"); break;
            case '\n': Put("\\n"); break;
            case '\r': Put("\\r"); break;
            case '\t': Put("\\t"); break;
            default: {
                static const char kHex[] = "0123456789abcdef";
                Put("\\u00");
                Put(kHex[c >> 4]);
                Put(kHex[c & 15]);
            }
            }
        }
        Put(text.substr(plain));
        Put('"');
    }
    template <typename Integer>
    void Number(Integer value)
    {
        char digits[24];
        const auto written = std::to_chars(digits, digits + sizeof digits, value);
        Put(std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
    }
    void Bool(bool value) { Put(value ? std::string_view("true") : std::string_view("false")); }

    void Raw(std::string_view text) { Put(text); }
    void Flush()
    {
        m_out.write(m_buffer.get(), static_cast<std::streamsize>(m_size));
        m_size = 0;
    }

private:
    static constexpr std::size_t kCapacity = 1 << 16;

    // Bytes that stand for themselves in a JSON string and in UTF-8.
    static constexpr auto kPlainAscii = [] {
        std::array<bool, 256> plain{};
        for (int c = 0x20; c < 0x80; ++c)
            plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
        return plain;
    }();

    std::size_t Indent() const { return 2 * static_cast<std::size_t>(m_depth); }

    void NewLine() { Commit(PutNewLine(Room(1 + Indent()))); }
    char* PutNewLine(char* at) const
    {
        *at++ = '\n';
        std::memset(at, ' ', Indent());
        return at + Indent();
    }
    // The comma after the item before, if any, and the new item's line.
    char* PutItemStart(char* at)
    {
        if (!m_first)
            *at++ = ',';
        m_first = false;
        return PutNewLine(at);
    }

    // Room for n more bytes in the buffer (n well below its capacity), to be
    // filled and then committed.
    char* Room(std::size_t n)
    {
        if (n > kCapacity - m_size)
            Flush();
        return m_buffer.get() + m_size;
    }
    void Commit(const char* end) { m_size = static_cast<std::size_t>(end - m_buffer.get()); }

    // How many leading bytes of text stand for themselves, eight at a time.
    static std::size_t PlainAsciiPrefix(std::string_view text)
    {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHigh = 0x8080808080808080ull;
        auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
        std::size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            // A byte below 0x20 or above 0x7f, a quote or a backslash.
            const std::uint64_t special = ((word - kOnes * 0x20) & ~word & kHigh) | (word & kHigh) |
                                          hasZeroByte(word ^ (kOnes * '"')) | hasZeroByte(word ^ (kOnes * '\\'));
            if (special)
                break;
        }
        while (i < text.size() && kPlainAscii[static_cast<unsigned char>(text[i])])
            ++i;
        return i;
    }

    void Put(char c)
    {
        if (m_size == kCapacity)
            Flush();
        m_buffer[m_size++] = c;
    }
    void Put(std::string_view text)
    {
        if (text.empty())
            return;
        if (text.size() > kCapacity - m_size) {
            Flush();
            if (text.size() > kCapacity) {
                m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
                return;
            }
        }
        std::memcpy(m_buffer.get() + m_size, text.data(), text.size());
        m_size += text.size();
    }

    std::ostream& m_out;
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_size = 0;
    int m_depth = 0;
    bool m_first = true;
};

std::string_view TableTypeName(int type) { return type == table_type::kData ? "data" : "layout"; }

void WriteProblem(CJsonWriter& w, const ReportProblem& p)
{
    w.Open('{');
    // The W3C ACT rule of a WCAG 2.2 finding; WCAG 1.0 checks have none.
    if (p.check && !p.check->act.empty()) {
        w.Key("act"); w.String(p.check->act);
    }
    w.Key("atLevel"); w.Bool(p.atLevel);
    w.Key("bit"); w.Number(p.bit);
    w.Key("check"); w.String(p.CheckName());
    w.Key("column"); w.Number(p.column);
    w.Key("family"); w.Number(p.family);
    w.Key("grouped"); w.Bool(p.grouped);
    w.Key("helpTopic"); w.String(p.HelpTopic());
    w.Key("line"); w.Number(p.line);
    w.Key("priority"); w.Number(p.priority);
    w.Key("section508"); w.Bool(p.section508);
    if (p.settled) {
        w.Key("settled"); w.Open('{');
        w.Key("by"); w.String(p.settled->by);
        w.Key("date"); w.String(p.settled->date);
        w.Key("verdict"); w.String(p.settled->verdict);
        w.Close('}');
    }
    w.Key("text"); w.String(p.text);
    w.Key("title"); w.String(p.Title());
    // An empty list: WCAG 2 has no counterpart for the check.
    w.Key("wcag2"); w.Open('[');
    for (const SuccessCriterion* criterion : p.Wcag2()) {
        w.Item();
        w.Open('{');
        w.Key("level"); w.String(Wcag2LevelText(criterion->level));
        w.Key("name"); w.String(criterion->name);
        w.Key("number"); w.String(criterion->number);
        w.Close('}');
    }
    w.Close(']');
    w.Close('}');
}

void WriteFile(CJsonWriter& w, const ReportFile& file)
{
    w.Open('{');
    if (!file.error.empty()) {
        w.Key("error"); w.String(file.error);
        w.Key("path"); w.String(file.path);
        w.Close('}');
        return;
    }
    w.Key("achieved"); w.String(LevelLabel(file.achieved));
    w.Key("achievedIfWarningsConfirmed"); w.String(LevelLabel(file.achievedIfWarningsConfirmed));
    // Only runs that took tables as some type say so: other reports stay as they were.
    if (!file.assumedTables.empty()) {
        w.Key("assumedTables"); w.Open('[');
        for (const AssumedTable& table : file.assumedTables) {
            w.Item();
            w.Open('{');
            w.Key("column"); w.Number(table.column);
            w.Key("line"); w.Number(table.line);
            w.Key("rule"); w.String(table.rule);
            w.Key("type"); w.String(TableTypeName(table.type));
            w.Close('}');
        }
        w.Close(']');
    }
    // A page in a merged report made before pages were read in their own
    // encoding is not known to be in any.
    if (!file.encoding.empty()) {
        w.Key("encoding"); w.String(file.encoding);
    }
    w.Key("path"); w.String(file.path);
    w.Key("problems"); w.Open('[');
    for (const ReportProblem& problem : file.problems) {
        w.Item();
        WriteProblem(w, problem);
    }
    w.Close(']');
    w.Key("target"); w.String(LevelLabel(file.target));
    w.Key("unclassifiedTables"); w.Number(file.unclassifiedTables);
    w.Close('}');
}

} // namespace

void WriteJsonReport(const Report& report, std::ostream& out)
{
    CJsonWriter w(out);
    std::map<std::string, int> byLevel;
    int atLevel = 0;
    w.Open('{');
    w.Key("files"); w.Open('[');
    for (const ReportFile& file : report.files) {
        w.Item();
        WriteFile(w, file);
        if (file.error.empty()) {
            atLevel += file.ProblemsAtLevel();
            ++byLevel[LevelLabel(file.achieved)];
        }
    }
    w.Close(']');
    auto list = [&](const std::vector<std::string>& items) {
        w.Open('[');
        for (const std::string& item : items) {
            w.Item();
            w.String(item);
        }
        w.Close(']');
    };
    w.Key("run"); w.Open('{');
    w.Key("all"); w.Bool(report.all);
    w.Key("aria"); w.Bool(report.ariaNames);
    w.Key("foldersNotRead"); list(report.foldersNotRead);
    w.Key("linksNotFollowed"); list(report.linksNotFollowed);
    w.Key("paths"); list(report.paths);
    w.Key("registry"); w.String(report.registry);
    if (report.shard) {
        w.Key("share");
        w.String(std::to_string(report.shard->index) + "/" + std::to_string(report.shard->count));
    }
    w.Key("tables"); w.String(report.tables);
    w.Close('}');
    w.Key("summary"); w.Open('{');
    w.Key("files"); w.Number(report.files.size());
    w.Key("filesByAchievedLevel"); w.Open('{');
    for (const auto& [level, count] : byLevel) {
        w.Key(level);
        w.Number(count);
    }
    w.Close('}');
    w.Key("problemsAtTarget"); w.Number(atLevel);
    w.Key("target"); w.String(LevelLabel(report.target));
    w.Close('}');
    w.Close('}');
    w.Raw("\n");
}

namespace {

std::optional<int> LevelOfLabel(const std::string& label)
{
    for (int level : {0, kLevelA, kLevelAA, kLevelAAA, kLevelSection508}) {
        if (LevelLabel(level) == label)
            return level;
    }
    return std::nullopt;
}

// The report's contents, read back; throws on anything a report does not hold.
void ReadReport(const nlohmann::json& document, Report& report)
{
    using nlohmann::json;
    auto level = [](const json& value) {
        std::optional<int> found = LevelOfLabel(value.get<std::string>());
        if (!found)
            throw std::runtime_error("unknown level " + value.dump());
        return *found;
    };
    if (!document.is_object())
        throw std::runtime_error("the report is no JSON object");
    report.target = level(document.at("summary").at("target"));
    if (!document.at("files").is_array())
        throw std::runtime_error("\"files\" is no array");
    auto strings = [](const json& value) {
        if (!value.is_array())
            throw std::runtime_error("a list of the run is no array");
        std::vector<std::string> items;
        for (const json& item : value)
            items.push_back(item.get<std::string>());
        return items;
    };
    const json& run = document.at("run");
    report.all = run.at("all").get<bool>();
    report.ariaNames = run.at("aria").get<bool>();
    report.foldersNotRead = strings(run.at("foldersNotRead"));
    report.linksNotFollowed = strings(run.at("linksNotFollowed"));
    report.paths = strings(run.at("paths"));
    report.registry = run.at("registry").get<std::string>();
    report.tables = run.at("tables").get<std::string>();
    if (run.contains("share")) {
        report.shard = ParseShard(run.at("share").get<std::string>());
        if (!report.shard)
            throw std::runtime_error("the share " + run.at("share").dump() + " is no K/N");
    }
    // Problems of one check share its texts, as when the report was made.
    std::map<std::tuple<std::string, std::string, std::string>, std::shared_ptr<const ReportCheck>> checks;
    for (const json& entry : document.at("files")) {
        ReportFile file;
        file.path = entry.at("path").get<std::string>();
        if (entry.contains("error")) {
            file.error = entry.at("error").get<std::string>();
            report.files.push_back(std::move(file));
            continue;
        }
        file.target = level(entry.at("target"));
        file.achieved = level(entry.at("achieved"));
        file.achievedIfWarningsConfirmed = level(entry.at("achievedIfWarningsConfirmed"));
        file.unclassifiedTables = entry.at("unclassifiedTables").get<int>();
        // Reports made before pages were read in their own encoding name none.
        if (entry.contains("encoding"))
            file.encoding = entry.at("encoding").get<std::string>();
        if (entry.contains("assumedTables")) {
            for (const json& table : entry.at("assumedTables")) {
                AssumedTable assumed;
                assumed.line = table.at("line").get<std::uint64_t>();
                assumed.column = table.at("column").get<std::uint64_t>();
                assumed.rule = table.at("rule").get<std::string>();
                const std::string type = table.at("type").get<std::string>();
                if (type != "data" && type != "layout")
                    throw std::runtime_error("unknown table type " + type);
                assumed.type = type == "data" ? table_type::kData : table_type::kLayout;
                file.assumedTables.push_back(std::move(assumed));
            }
        }
        for (const json& item : entry.at("problems")) {
            ReportProblem problem;
            auto key = std::make_tuple(item.at("check").get<std::string>(), item.at("title").get<std::string>(),
                                       item.at("helpTopic").get<std::string>());
            auto& check = checks[key];
            if (!check) {
                Wcag2Criteria criteria;
                if (item.contains("wcag2")) {
                    for (const json& given : item.at("wcag2")) {
                        const std::string number = given.at("number").get<std::string>();
                        const SuccessCriterion* criterion = FindSuccessCriterion(number);
                        if (!criterion)
                            throw std::runtime_error("unknown WCAG 2 success criterion " + number);
                        criteria.push_back(criterion);
                    }
                }
                check = std::make_shared<const ReportCheck>(
                    ReportCheck{std::get<0>(key), std::get<1>(key), std::get<2>(key), std::move(criteria)});
            }
            problem.check = check;
            problem.atLevel = item.at("atLevel").get<bool>();
            problem.bit = item.at("bit").get<std::uint32_t>();
            problem.column = item.at("column").get<std::uint64_t>();
            problem.family = item.at("family").get<int>();
            problem.grouped = item.at("grouped").get<bool>();
            problem.line = item.at("line").get<std::uint64_t>();
            problem.priority = item.at("priority").get<int>();
            problem.section508 = item.at("section508").get<bool>();
            problem.text = item.at("text").get<std::string>();
            if (auto settled = item.find("settled"); settled != item.end())
                problem.settled = std::make_unique<const ReportSettlement>(
                    ReportSettlement{settled->at("verdict").get<std::string>(), settled->at("by").get<std::string>(),
                                     settled->at("date").get<std::string>()});
            file.problems.push_back(std::move(problem));
        }
        report.files.push_back(std::move(file));
    }
}

} // namespace

bool ReadJsonReport(std::string_view text, Report& report, std::string& reason)
{
    try {
        ReadReport(nlohmann::json::parse(text), report);
        return true;
    } catch (const std::exception& error) {
        reason = error.what();
        return false;
    }
}

} // namespace orvane::cli
