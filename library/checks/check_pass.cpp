#include "check_pass.h"

#include "check_index.h"
#include "element_table.h"
#include "kind_positions.h"
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
    // Every element not deleted is checked in page order, but those of the
    // element base class find nothing, so only the families' elements are
    // taken. The page's reading position stands where a walk over every
    // element would: the map check moves it on past its areas.
    document.StartReading();
    const auto kinds = PageIndex<CKindPositions>(document);
    const std::span<const std::uint32_t> families = kinds->FamilyElements();
    for (std::size_t next = 0; next < families.size();) {
        const std::size_t position = families[next++];
        CElement* element = document.At(position);
        if (element->IsDeleted())
            continue;
        document.SetReadingIndex(position + 1);
        const CElement* following = document.ReadingPosition();
        const int result = element->Check(settings, document, 0);
        if (const CElement* reading = document.ReadingPosition(); reading != following) {
            const std::size_t resume = reading ? document.IndexOf(*reading) : document.Size();
            while (next < families.size() && families[next] < resume)
                ++next;
        }
        if (result != 2)
            continue;
        // Lowest bit first: each step takes the lowest bit still set.
        for (std::uint32_t mask = element->ProblemMask(); mask != 0; mask &= mask - 1)
            problems.push_back({element, mask & (~mask + 1)});
    }
    document.SetReadingIndex(document.Size());
    return problems;
}

} // namespace orvane
