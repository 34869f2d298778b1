#pragma once

#include "library/ui/judgement_keys.h"

#include <cstdint>
#include <string>

namespace orvane {

class CElement;
class CHtmlDocument;
class CSrcObjectDatabase;
class CValidatorSheet;

// The user's login name, and today's date as YYYY-MM-DD: who judged, and when.
std::string JudgeName();
std::string JudgementDate();

// Remembers the verdicts the sheet's pages gave in the page's document entry,
// and forgets those of pages whose verdict was taken back (undone, or
// answered with a change instead). A record of an element kept under the key
// of an earlier release goes either way: the verdict is written anew under
// the fast key.
void RememberVerdicts(const CValidatorSheet& sheet, const CHtmlDocument& document, CSrcObjectDatabase& registry);

} // namespace orvane
