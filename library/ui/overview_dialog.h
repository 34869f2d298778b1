#pragma once

#include "library/registry/object_database.h"
#include "library/ui/problem_list.h"
#include "platform/window.h"

#include <string>
#include <vector>

namespace orvane {

class CHtmlDocument;
class COrvaneSettings;

// The window of one checking session (template 229): the problems of the page
// grouped by check in a tree, the problems or checks of the chosen node in a
// list, what is repaired and the level the page reaches. The user picks
// problems and repairs them in the validator sheet.
class COverviewDialog final : public platform::IDialogLogic {
public:
    static constexpr int kTemplate = 229;
    static constexpr const char* kHelpTopic = "OverviewDialog.html";

    COverviewDialog() = default;
    COverviewDialog(const COverviewDialog&) = delete;
    COverviewDialog& operator=(const COverviewDialog&) = delete;

    // Loads the object registry, asks about unknown tables and runs the checks.
    void Prepare(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName);
    // Shows the window until the user closes it.
    int RunModal();
    // 0: nothing counts at the target; 1: all of it repaired; 2: none; 3: some.
    int ResultCode() const { return m_problems.SessionResult(); }
    int AchievedLevel() const { return m_achievedLevel; }
    const CProblemList& Problems() const { return m_problems; }

    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnClose(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;
    void OnSystemCommand(platform::IWindow& window, int command) override;

    // Whether the list shows the checks of a group (true) or the problems of a check.
    static bool IsCheckMode() { return s_checkMode; }

private:
    void GroupAndFillTree(platform::IWindow& window);
    void SelectNode(platform::IWindow& window, platform::TreeItem item);
    void RefreshRows(platform::IWindow& window);
    void RefreshNodeIcons(platform::IWindow& window);
    void RefreshSelectionCount(platform::IWindow& window);
    void RefreshSummary(platform::IWindow& window);
    void RefreshTargetLine(platform::IWindow& window);
    void DeselectRepairedRows(platform::IWindow& window);
    void SortRows(platform::IWindow& window, int column);
    void ToggleColumn(platform::IWindow& window, int column);
    void OnRowChanged(platform::IWindow& window, int row);
    void RepairSelected(platform::IWindow& window);
    void ShowSettings(platform::IWindow& window);
    void CloseWithClosingSteps(platform::IWindow& window);
    void RestorePlacement(platform::IWindow& window);
    void SavePlacement(const platform::IWindow& window);

    // The entry a list row stands for; in check mode the head of its group.
    CProblemEntry* RowEntry(const platform::IWindow& window, int row) const;
    bool IsRowRepaired(const platform::IWindow& window, int row) const;
    bool IsRowSettled(const platform::IWindow& window, int row) const;
    int RowIcon(const CProblemEntry& entry, bool head) const;
    bool IsAutomatic(const CProblemEntry& entry) const;

    CHtmlDocument* m_document = nullptr;
    COrvaneSettings* m_settings = nullptr;
    std::string m_fileName;
    CSrcObjectDatabase m_registry;
    bool m_registryLoaded = false;
    CProblemList m_problems;
    int m_achievedLevel = 0;
    int m_dividerNumerator = 2;
    int m_dividerDenominator = 5;

    // Shared by every overview of the process, as users expect the list to
    // come back the way they left it.
    static bool s_checkMode;
    static bool s_sortAscending[5];
    // The list's columns the user hid through the header's menu.
    static bool s_columnHidden[5];
};

} // namespace orvane
