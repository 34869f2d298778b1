// libFuzzer target: any bytes as a page, built into its accessibility tree,
// every name computed and the WCAG 2.2 rules run over it.
#include "library/a11y/accessibility_tree.h"
#include "library/html/html_document.h"
#include "library/rules/rule_engine.h"
#include "library/rules/rule_table.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "accessibility tree invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    orvane::CHtmlDocument document;
    document.Start(1, false);
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (document.Load(in) != 1)
        return 0;
    const orvane::a11y::AccessibilityTree tree(document);
    const int count = static_cast<int>(tree.Nodes().size());
    Require(count >= 1 && tree.At(0).tag == "#document", "the tree starts with the document");
    for (int i = 1; i < count; ++i) {
        const orvane::a11y::Node& node = tree.At(i);
        Require(node.parent >= 0 && node.parent < i, "a parent comes before its children");
        Require(tree.SubtreeEnd(i) > i && tree.SubtreeEnd(i) <= count, "a subtree lies after its root");
        Require(!node.included || node.rendered, "what is included is rendered");
        Require(!node.inTabOrder || node.focusable, "what is in the tab order is focusable");
        if (node.IsElement()) {
            const std::string& name = tree.Name(i);
            Require(name.empty() || (name.front() != ' ' && name.back() != ' '), "a name is trimmed");
            tree.Description(i);
        }
    }
    const orvane::rules::PageContext page{tree, true};
    for (const orvane::rules::RuleResult& result : orvane::rules::RunRules(page, orvane::rules::RuleTable()))
        Require(result.node > 0 && result.node < count, "a result names a node of the tree");
    return 0;
}
