#include "commands.h"
#include "page_loading.h"

#include "library/checks/family_factory.h"
#include "platform/file_system.h"

#include <ostream>

namespace orvane::cli {

int RunRewrite(const Arguments& args, std::ostream&, std::ostream& err)
{
    if (args.size() != 2) {
        err << "usage: orvane rewrite IN OUT\n";
        return kExitError;
    }
    CHtmlDocument document(CFamilyElementFactory::Instance());
    if (!LoadPage(document, args[0], err))
        return kExitError;
    std::string reason;
    bool written = platform::WriteFileAtomically(
        args[1], [&](std::ostream& file) { return document.Write(file) == 1; }, &reason);
    if (!written) {
        err << "orvane: cannot write " << args[1] << ": " << reason << '\n';
        return kExitError;
    }
    return kExitOk;
}

} // namespace orvane::cli
