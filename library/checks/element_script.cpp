#include "element_script.h"

namespace orvane {

namespace {

constexpr CheckInfo kScriptChecks[] = {
    {.bit = 0x1, .name = "ScriptNoscript", .titleId = 163, .priority = 1, .section508 = true,
     .repairPage = "CPageScriptNoscript", .helpTopic = "1-1-10.html"},
    {.bit = 0x2, .name = "ScriptSpawnNewWindow", .inMask = false, .reported = false},
};

} // namespace

void CElementScript::AttachInner(CElement& inner) { m_inner.push_back(&inner); }

std::span<const CheckInfo> CElementScript::CheckTable() const { return kScriptChecks; }

std::string CElementScript::GetProblemText(std::uint32_t) const { return "script"; }

} // namespace orvane
