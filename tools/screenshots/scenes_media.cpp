// The repair wizard on the harbour radio's page: the morning announcement
// needs a transcript, the tide chart applet a text alternative, the film of
// the harbour at dawn an alternative content; each page as the user is
// about to write it.
#include "scene.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/checks/check_pass.h"
#include "library/checks/family_factory.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/validator_sheet.h"

#include <QAbstractButton>

#include <fstream>
#include <string_view>

namespace {

using orvane::screenshots::Preparation;
using orvane::screenshots::Shots;

// The wizard on the radio page with the pages of one check; the applet
// check runs only where decisions are remembered, so the run has a registry
// (a new one, not saved).
void RepairHarbourRadio(std::string_view checkName)
{
    const std::string path = Shots().ExamplesFolder() + "/harbour-radio.html";
    std::ifstream in(path, std::ios::binary);
    orvane::COrvaneSettings::InstallCatalogue(&orvane::CCheckCatalogue::Instance());
    orvane::COrvaneSettings settings;
    settings.Load();
    orvane::CHtmlDocument document(orvane::CFamilyElementFactory::Instance());
    document.Start(1, false);
    document.SetName(path);
    if (!in || document.Load(in) != 1)
        return;
    orvane::CSrcObjectDatabase registry;
    const std::vector<orvane::CFoundProblem> found = orvane::RunCheckPass(document, settings, &registry);
    orvane::CValidatorSheet sheet;
    sheet.SetSettings(&settings);
    sheet.SetObjectRegistry(&registry);
    sheet.SetDocumentPath(path);
    sheet.SetTrailingPage(false);
    for (const orvane::CFoundProblem& problem : found) {
        if (problem.element->GetCheckName(problem.bit) == checkName)
            problem.element->AddRepairPages(sheet, document, problem.bit);
    }
    sheet.DoModal(nullptr);
}

// The page shown, its text typed as the user would.
Preparation TypedOnPage(std::string text)
{
    return [text](orvane::platform::IWindow& window, QWidget&) {
        if (window.PageCount() > 0)
            window.Page(window.CurrentPage()).SetText(1162, text);
    };
}

} // namespace

ORVANE_SCENE_PREPARED(repair_anchor_transcript,
                      TypedOnPage("Good morning, this is the harbour master with the crossings for today.\n"
                                  "The first ferry to the islands leaves at 6:40, the last one at 21:15.\n"
                                  "The sea is calm, with a light wind from the west."))
{
    RepairHarbourRadio("AnchorTranscript");
}
ORVANE_SCENE_PREPARED(repair_applet_alt_text,
                      TypedOnPage("Tide heights at the North quay today: high water at 6:12 and 18:40, "
                                  "low water at 0:05 and 12:27."))
{
    RepairHarbourRadio("AppletAltText");
}
ORVANE_SCENE_PREPARED(repair_object_alt_rep,
                      TypedOnPage("A two-minute film of the harbour at dawn: the first ferries leave "
                                  "while the fishing boats come in."))
{
    RepairHarbourRadio("ObjectAltRep");
}
