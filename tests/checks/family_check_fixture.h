#pragma once

#include "common/orvane_settings.h"
#include "library/checks/family_factory.h"
#include "library/html/html_document.h"
#include "tests/settings/settings_fixture.h"

#include <cstdint>
#include <string_view>

namespace orvane::test {

// Elements checked one by one against settings loaded from a store of their
// own, so that the checks see the catalogue's real entries: priorities and
// always-include flags decide what applies at a level.
class FamilyCheckTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        settings.Load();
        settings.SetConformanceLevel(level::kAAA);
    }

    // The page as a file gives it, in one piece.
    CHtmlDocument& Parse(std::string_view page)
    {
        document.Start(1, false);
        document.SetName("page.html");
        document.AddLine(page);
        document.Finish();
        return document;
    }

    // The n-th element (from 0) of a kind; null when there are fewer.
    CElement* Nth(int kind, int n = 0) const
    {
        for (CElement* e : document.Elements()) {
            if (e->Kind() == kind && n-- == 0)
                return e;
        }
        return nullptr;
    }

    // Checks the first element of the kind on the page; its problem mask.
    std::uint32_t MaskOf(std::string_view page, int kind, int applyLevel = 0)
    {
        Parse(page);
        return Recheck(kind, applyLevel);
    }

    std::uint32_t Recheck(int kind, int applyLevel = 0)
    {
        CElement* element = Nth(kind);
        if (!element) {
            ADD_FAILURE() << "no element of kind " << kind;
            return 0;
        }
        element->Check(settings, document, applyLevel);
        return element->ProblemMask();
    }

    bool Has(std::string_view page, int kind, std::uint32_t bit, int applyLevel = 0)
    {
        return (MaskOf(page, kind, applyLevel) & bit) != 0;
    }

    COrvaneSettings settings;
    CHtmlDocument document{CFamilyElementFactory::Instance()};
};

} // namespace orvane::test
