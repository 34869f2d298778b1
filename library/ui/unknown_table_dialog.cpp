#include "library/ui/unknown_table_dialog.h"

#include "library/ui/validator_sheet.h"

#include "library/dialogs/help_topic.h"
#include "library/html/html_document.h"
#include "library/tables/table_record.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/services.h"

#include <cstdio>
#include <ostream>

namespace orvane {
namespace {

enum Control : int {
    kLayout = 1147,
    kData = 1148,
    kNextOrFinish = 1318,
    kBack = 10,
    kPreview = 1235,
};

enum String : int {
    kFinish = 461,
    kNext = 462,
    kTitle = 463,
};

constexpr int kLayoutTable = 1;
constexpr int kDataTable = 2;

constexpr const char* kPreviewName = "TempPage.html";

} // namespace

std::string WriteTablePreviewPage(const CTableRecord& table, unsigned flags, const std::string& path)
{
    const std::string target = path.empty() ? platform::UserDataDirectory() + "/" + kPreviewName : path;
    const bool written = platform::WriteFileAtomically(target, [&](std::ostream& out) {
        out << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\" "
               "\"http://www.w3.org/TR/REC-html40/loose.dtd\">\n"
               "<html lang=\"en\"><head><title>Unknown Table</title></head><body><p align=\"center\">";
        table.WriteMarkup(out, flags | CTableRecord::kMarkupShowGrid);
        out << "</p></body></html>";
        return static_cast<bool>(out);
    });
    return written ? target : std::string{};
}

CUnknownTableDialog::~CUnknownTableDialog()
{
    if (!m_previewPath.empty())
        std::remove(m_previewPath.c_str());
}

void CUnknownTableDialog::Ask(std::span<CTableRecord* const> tables)
{
    if (tables.empty() || !platform::Windows().CanShowWindows())
        return;
    m_tables.assign(tables.begin(), tables.end());
    platform::Windows().RunModal(kTemplate, *this, nullptr);
}

void CUnknownTableDialog::OnInit(platform::IWindow& window)
{
    for (CTableRecord* table : m_tables)
        table->SetType(kLayoutTable);
    ShowRecord(window, 0);
}

void CUnknownTableDialog::ShowRecord(platform::IWindow& window, std::size_t index)
{
    m_current = index;
    const CTableRecord& table = *m_tables[index];
    window.SetTitle(platform::Strings().Format(kTitle, {std::to_string(index + 1), std::to_string(m_tables.size())}));
    const bool data = table.Type() == kDataTable;
    window.SetChecked(data ? kData : kLayout, true);
    window.Enable(kBack, index > 0);
    const bool last = index + 1 == m_tables.size();
    window.SetText(kNextOrFinish, platform::Strings().Get(last ? kFinish : kNext));
    m_previewPath = WriteTablePreviewPage(table, 0);
    // A preview that cannot be written leaves the browser as it was.
    if (!m_previewPath.empty()) {
        if (platform::IBrowser* browser = window.Browser(kPreview)) {
            // The table's images lie beside its page, not beside the preview.
            if (const CHtmlDocument* document = table.Document()) {
                CDocumentFolder folder;
                folder.SetPath(document->Name());
                browser->SetResourceFolder(folder.Folder());
            }
            browser->Navigate(m_previewPath);
        }
    }
}

void CUnknownTableDialog::StoreChoice(platform::IWindow& window)
{
    m_tables[m_current]->SetType(window.IsChecked(kData) ? kDataTable : kLayoutTable);
}

void CUnknownTableDialog::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.code != platform::NotifyCode::Clicked)
        return;
    if (notification.control == kBack && m_current > 0) {
        StoreChoice(window);
        ShowRecord(window, m_current - 1);
    } else if (notification.control == kNextOrFinish) {
        StoreChoice(window);
        if (m_current + 1 == m_tables.size())
            window.End(platform::kIdOk);
        else
            ShowRecord(window, m_current + 1);
    }
}

// Enter never closes the question: every table is to be looked at.
void CUnknownTableDialog::OnOk(platform::IWindow&) {}

// Nor does Escape: a key pressed out of habit must not skip the question.
void CUnknownTableDialog::OnCancel(platform::IWindow&) {}

// The close box leaves the tables not answered yet as layout tables.
void CUnknownTableDialog::OnClose(platform::IWindow& window) { window.End(platform::kIdCancel); }

void CUnknownTableDialog::OnHelp(platform::IWindow& window) { ShowHelpTopic(&window, kHelpTopic); }

} // namespace orvane
