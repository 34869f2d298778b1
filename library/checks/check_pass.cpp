#include "check_pass.h"

#include "check_index.h"
#include "element_table.h"
#include "library/html/html_document.h"
#include "library/html/lang_codes.h"

namespace orvane {

std::vector<CFoundProblem> RunCheckPass(CHtmlDocument& document, COrvaneSettings& settings,
                                        CSrcObjectDatabase* registry)
{
    document.SetObjectRegistry(registry);
    CLanguageCodeList::Library().Load();
    // Every pass judges the page anew: the once-per-page checks run again.
    document.SetHtmlChecked(false);
    document.SetFramesLongDescReported(false);

    CCheckIndexScope index(document);
    // Tables are read, and the ones nobody judged yet asked about, before any check.
    PrepareTables(document);

    std::vector<CFoundProblem> problems;
    // The map check moves this shared iteration past its areas.
    document.StartReading();
    while (CElement* element = document.NextUndeleted()) {
        if (element->Check(settings, document, 0) != 2)
            continue;
        // Lowest bit first: each step takes the lowest bit still set.
        for (std::uint32_t mask = element->ProblemMask(); mask != 0; mask &= mask - 1)
            problems.push_back({element, mask & (~mask + 1)});
    }
    return problems;
}

} // namespace orvane
