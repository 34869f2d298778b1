#pragma once

// What a dialog template holds, read from its Qt Designer file: the controls
// the logic can address (widgets named "c" and their number), their kinds,
// which radio buttons exclude each other, and what a screen reader announces.
// The Qt window and the in-memory window of the tests read templates alike.

#include "platform/window.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

struct ControlInfo {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string widgetClass;  // "QPushButton"
    std::string text;         // the template's text, mnemonics included ("&Repair")
    std::string accessibleName;
    std::string buddyOf;      // a label's buddy: the object name of the control it names
    std::string group;        // radio buttons of one group exclude each other
    bool focusable = false;
    bool checkedInitially = false;
    bool enabledInitially = true;
    bool visibleInitially = true;
    // A combo box whose entry the user may type into, not only choose.
    bool editable = false;
};

struct TemplateInfo {
    int id = 0;
    std::string title;
    std::map<int, ControlInfo> controls;
    // Widgets named by the template but not addressed by number ("labelUrl"),
    // kept for the accessibility rules (labels naming a control by buddy).
    std::map<std::string, ControlInfo> otherWidgets;

    const ControlInfo* Find(int id) const;
};

// Reads a template from the text of its .ui file; nothing on malformed text
// (*error says why).
std::optional<TemplateInfo> ParseTemplate(std::string_view uiText, std::string* error = nullptr);

// The control number a widget's object name gives ("c1043" gives 1043), 0 for other names.
int ControlIdOfName(std::string_view objectName);
std::string ControlName(int id);

} // namespace orvane::platform
