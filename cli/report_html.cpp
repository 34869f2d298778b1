#include "check_report.h"
#include "utf8_text.h"

#include <ostream>

namespace orvane::cli {
namespace {

// The report is itself a page people read with assistive technology, so it
// is written to pass the checks it reports: a document type, a language, a
// title and description, a style sheet, headings in order, and no tables
// or lists that would need more than they say.
constexpr const char* kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\n"
    "<html lang=\"en\">\n<head>\n<title>Accessibility report</title>\n"
    "<meta name=\"description\" content=\"Accessibility problems found by orvane check\">\n"
    "<style type=\"text/css\">\n"
    "body { font-family: sans-serif; margin: 2em; line-height: 1.4 }\n"
    "h2 { margin-top: 2em; border-bottom: 1px solid }\n"
    ".where { font-family: monospace }\n"
    ".summary { font-weight: bold }\n"
    "</style>\n</head>\n<body>\n";

} // namespace

void WriteHtmlReport(const Report& report, std::ostream& out)
{
    auto text = [](std::string_view value) { return EscapeMarkup(ToUtf8(value)); };
    out << kHead << "<h1>Accessibility report</h1>\n";
    int atLevel = 0;
    for (const ReportFile& file : report.files) {
        out << "<h2>" << text(file.path) << "</h2>\n";
        if (!file.error.empty()) {
            out << "<p>This page could not be checked: " << text(file.error) << "</p>\n";
            continue;
        }
        atLevel += file.ProblemsAtLevel();
        out << "<p class=\"summary\">Target level " << text(LevelLabel(file.target)) << ". Level reached: "
            << text(LevelLabel(file.achieved)) << "; once its general warnings are confirmed: "
            << text(LevelLabel(file.achievedIfWarningsConfirmed)) << ".</p>\n";
        if (file.unclassifiedTables > 0)
            out << "<p>Tables not yet classified as layout or data tables: " << file.unclassifiedTables << ".</p>\n";
        for (const ReportGroup& group : file.groups) {
            out << "<h3>" << text(group.name) << (group.atLevel ? "" : " (outside the target)") << "</h3>\n";
            for (std::size_t index : group.problems) {
                const ReportProblem& p = file.problems[index];
                out << "<p><span class=\"where\">line " << p.line << ", column " << p.column << "</span>: "
                    << "priority " << text(PriorityLabel(p.priority)) << (p.section508 ? ", Section 508" : "")
                    << ". " << text(p.title) << " (" << text(p.check) << "): " << text(p.text);
                if (!p.helpTopic.empty())
                    out << ". Help topic: " << text(p.helpTopic);
                out << "</p>\n";
            }
        }
    }
    out << "<h2>Summary</h2>\n<p>Pages: " << report.files.size() << ". Problems that count at the target: " << atLevel
        << ".</p>\n</body>\n</html>\n";
}

} // namespace orvane::cli
