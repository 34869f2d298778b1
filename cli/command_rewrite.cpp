#include "command_line.h"
#include "commands.h"
#include "page_loading.h"

#include "library/checks/family_factory.h"
#include "platform/file_system.h"

#include <ostream>

namespace orvane::cli {

int RunRewrite(const Arguments& args, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (std::optional<int> status = ReadCommandLine("rewrite", args, line, out, err))
        return *status;
    CHtmlDocument document(CFamilyElementFactory::Instance());
    if (!LoadPage(document, line.operands[0], err))
        return kExitError;
    std::string reason;
    bool written = platform::WriteFileAtomically(
        line.operands[1], [&](std::ostream& file) { return document.Write(file) == 1; }, &reason);
    if (!written) {
        err << "orvane: cannot write " << line.operands[1] << ": " << reason << '\n';
        return kExitError;
    }
    return kExitOk;
}

} // namespace orvane::cli
