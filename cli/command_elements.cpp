#include "command_line.h"
#include "commands.h"
#include "page_loading.h"

#include "library/checks/family_factory.h"

#include <ostream>

namespace orvane::cli {

int RunElements(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CommandLine given;
    if (std::optional<int> status = ReadCommandLine("elements", args, given, out, err))
        return *status;
    CHtmlDocument document(CFamilyElementFactory::Instance());
    if (!LoadPage(document, given.operands[0], err))
        return kExitError;
    std::string line;
    for (const CElement* e : document.Elements()) {
        line.clear();
        line += std::to_string(document.IndexOf(*e));
        line += '\t';
        line += std::to_string(e->Kind());
        line += '\t';
        line += e->Partner() ? std::to_string(document.IndexOf(*e->Partner())) : "-";
        line += '\t';
        SourceLocation at = document.LocationOf(*e);
        line += at.line ? std::to_string(at.line) + ":" + std::to_string(at.column) : "-";
        line += '\t';
        line += EscapeControls(e->Text());
        line += '\n';
        out << line;
    }
    return out ? kExitOk : kExitError;
}

} // namespace orvane::cli
