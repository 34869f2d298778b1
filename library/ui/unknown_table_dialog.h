#pragma once

#include "library/tables/table_type_question.h"
#include "platform/window.h"

#include <string>
#include <vector>

namespace orvane {

// Asks, one table after the other, whether a table of the page lays the page
// out or holds data (template 239), with a preview of the table. Every table
// counts as a layout table until the user says otherwise.
class CUnknownTableDialog final : public ITableTypeQuestion, public platform::IDialogLogic {
public:
    static constexpr int kTemplate = 239;
    static constexpr const char* kHelpTopic = "5-1-1.html";

    ~CUnknownTableDialog() override;

    void Ask(std::span<CTableRecord* const> tables) override;

    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnClose(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;

private:
    void ShowRecord(platform::IWindow& window, std::size_t index);
    void StoreChoice(platform::IWindow& window);

    std::vector<CTableRecord*> m_tables;
    std::size_t m_current = 0;
    std::string m_previewPath;
};

// Writes the preview page of a table ("TempPage.html" in the per-user data
// folder, or the path given): the table as its record writes it, grid shown.
// Returns the page's path, empty when it could not be written.
std::string WriteTablePreviewPage(const CTableRecord& table, unsigned flags, const std::string& path = {});

} // namespace orvane
