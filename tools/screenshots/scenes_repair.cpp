// The repair wizard on a booking form: its general warnings, a text field and
// a text area without default text, the page's language, each page as the
// user reaches it.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/ui/validator_sheet.h"

#include <QAbstractButton>

#include <fstream>
#include <string_view>

namespace {

using orvane::screenshots::Preparation;
using orvane::screenshots::Shots;

// Pages in the order the wizard shows them: the warnings page collects every
// warning, then one page per form control.
void RepairBookingPage()
{
    const std::string path = Shots().ExamplesFolder() + "/booking.html";
    std::ifstream in(path, std::ios::binary);
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::COrvaneSettings settings;
    settings.Load();
    orvane::CHtmlDocument document(orvane::CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetName(path);
    if (!in || document.Load(in) != 1)
        return;
    const std::vector<orvane::CFoundProblem> found = orvane::RunCheckPass(document, settings, nullptr);
    orvane::CValidatorSheet sheet;
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath(path);
    sheet.SetTrailingPage(false);
    auto add = [&](auto wanted) {
        for (const orvane::CFoundProblem& problem : found) {
            if (wanted(problem))
                problem.element->AddRepairPages(sheet, document, problem.bit);
        }
    };
    add([](const orvane::CFoundProblem& p) { return !p.element->IsGrouped(p.bit); });
    add([](const orvane::CFoundProblem& p) { return p.element->GetCheckName(p.bit) == "InputMissingDefault"; });
    add([](const orvane::CFoundProblem& p) { return p.element->GetCheckName(p.bit) == "TextareaText"; });
    add([](const orvane::CFoundProblem& p) { return p.element->GetCheckName(p.bit) == "MissingLanguage"; });
    sheet.DoModal(nullptr);
}

// The wizard's page of that template, the first of its kind, reached as the
// user reaches it: Skip moves on without applying the pages passed (a page's
// window is made only when the user reaches it).
Preparation ShowPageOf(int templateId)
{
    return [templateId](orvane::platform::IWindow& window, QWidget& widget) {
        auto* skip = widget.findChild<QAbstractButton*>(QStringLiteral("c%1").arg(orvane::CValidatorSheet::kSkipUndoButton));
        for (int step = 0; skip && step < 100 && window.PageCount() > 0; ++step) {
            if (window.Page(window.CurrentPage()).TemplateId() == templateId || !skip->isEnabled())
                return;
            skip->click();
        }
    };
}

} // namespace

ORVANE_SCENE_PREPARED(repair_warnings, ShowPageOf(218)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_input_default_text, ShowPageOf(1310)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_textarea_default_text, ShowPageOf(152)) { RepairBookingPage(); }
ORVANE_SCENE_PREPARED(repair_language, ShowPageOf(216)) { RepairBookingPage(); }
