#include "template_info.h"

#include "platform/xml_dom.h"

#include <charconv>

namespace orvane::platform {
namespace {

struct ClassKind {
    std::string_view widgetClass;
    ControlKind kind;
};

constexpr ClassKind kClassKinds[] = {
    {"QPushButton", ControlKind::Button},     {"QToolButton", ControlKind::Button},
    {"QCommandLinkButton", ControlKind::Button}, {"QCheckBox", ControlKind::CheckBox},
    {"QRadioButton", ControlKind::Radio},     {"QLineEdit", ControlKind::Edit},
    {"QSpinBox", ControlKind::Spin},
    {"QPlainTextEdit", ControlKind::TextBox}, {"QTextEdit", ControlKind::TextBox},
    {"QComboBox", ControlKind::Combo},        {"QListWidget", ControlKind::ListBox},
    {"QLabel", ControlKind::Label},           {"QTreeWidget", ControlKind::Tree},
    {"QProgressBar", ControlKind::Progress},  {"QTextBrowser", ControlKind::Browser},
    {"QStackedWidget", ControlKind::PageArea}, {"QTabWidget", ControlKind::PageArea},
    {"QGroupBox", ControlKind::Frame},        {"QFrame", ControlKind::Frame},
    {"Line", ControlKind::Frame},
    {"OrvaneMediaView", ControlKind::MediaPlayer},
};

// A widget may say what it stands for when its class alone does not tell:
// a label showing an icon, a tree laid out as a report list.
struct NamedKind {
    std::string_view name;
    ControlKind kind;
};

constexpr NamedKind kNamedKinds[] = {
    {"picture", ControlKind::Picture}, {"report", ControlKind::ReportList},
    {"custom", ControlKind::Custom},   {"browser", ControlKind::Browser},
};

bool TakesFocus(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio:
    case ControlKind::Edit:
    case ControlKind::Spin:
    case ControlKind::TextBox:
    case ControlKind::Combo:
    case ControlKind::ListBox:
    case ControlKind::ReportList:
    case ControlKind::Tree:
    case ControlKind::Browser:
        return true;
    default:
        return false;
    }
}

// The value of a <property> element: its one typed child (<string>, <bool>,
// <cstring>, <enum> ...).
std::string PropertyValue(const CXmlNode& property)
{
    for (const CXmlNode& child : property.Children()) {
        if (child.IsElement())
            return child.Text();
    }
    return {};
}

class CTemplateReader {
public:
    explicit CTemplateReader(TemplateInfo& info) : m_info(info) {}

    void ReadWidget(const CXmlNode& widget, const std::string& parentName, bool isTop)
    {
        ControlInfo control;
        control.widgetClass = widget.Attribute("class");
        const std::string name = widget.Attribute("name");
        control.id = ControlIdOfName(name);
        control.kind = ControlKind::Custom;
        for (const ClassKind& entry : kClassKinds) {
            if (entry.widgetClass == control.widgetClass)
                control.kind = entry.kind;
        }
        std::string focusPolicy;
        for (const CXmlNode& child : widget.Children()) {
            if (!child.IsElement())
                continue;
            if (child.Name() == "property") {
                const std::string property = child.Attribute("name");
                const std::string value = PropertyValue(child);
                if (property == "text" || property == "title")
                    control.text = value;
                else if (property == "windowTitle" && isTop)
                    m_info.title = value;
                else if (property == "accessibleName")
                    control.accessibleName = value;
                else if (property == "buddy")
                    control.buddyOf = value;
                else if (property == "checked")
                    control.checkedInitially = value == "true";
                else if (property == "enabled")
                    control.enabledInitially = value != "false";
                else if (property == "visible")
                    control.visibleInitially = value != "false";
                else if (property == "focusPolicy")
                    focusPolicy = value;
                else if (property == "editable")
                    control.editable = value == "true";
                else if (property == "controlKind") {
                    for (const NamedKind& entry : kNamedKinds) {
                        if (entry.name == value)
                            control.kind = entry.kind;
                    }
                }
            } else if (child.Name() == "attribute" && child.Attribute("name") == "buttonGroup") {
                control.group = child.Text();
            }
        }
        control.focusable = TakesFocus(control.kind) && focusPolicy != "Qt::NoFocus";
        if (control.kind == ControlKind::Radio && control.group.empty())
            control.group = parentName;

        ReadChildren(widget, isTop ? std::string{} : name);
        if (isTop)
            return;
        if (control.id > 0)
            m_info.controls[control.id] = std::move(control);
        else if (!name.empty())
            m_info.otherWidgets[name] = std::move(control);
    }

    // Widgets sit directly in a widget or in the items of its layouts.
    void ReadChildren(const CXmlNode& node, const std::string& parentName)
    {
        for (const CXmlNode& child : node.Children()) {
            if (!child.IsElement())
                continue;
            if (child.Name() == "widget")
                ReadWidget(child, parentName, false);
            else if (child.Name() == "layout" || child.Name() == "item")
                ReadChildren(child, parentName);
        }
    }

private:
    TemplateInfo& m_info;
};

} // namespace

const ControlInfo* TemplateInfo::Find(int controlId) const
{
    auto it = controls.find(controlId);
    return it == controls.end() ? nullptr : &it->second;
}

int ControlIdOfName(std::string_view objectName)
{
    if (objectName.size() < 2 || objectName[0] != 'c')
        return 0;
    int id = 0;
    const char* begin = objectName.data() + 1;
    const char* end = objectName.data() + objectName.size();
    auto [stop, error] = std::from_chars(begin, end, id);
    if (error != std::errc{} || stop != end || id <= 0)
        return 0;
    return id;
}

std::string ControlName(int id) { return "c" + std::to_string(id); }

std::optional<TemplateInfo> ParseTemplate(std::string_view uiText, std::string* error)
{
    CXmlDocument document;
    if (!document.LoadBytes(uiText, error))
        return std::nullopt;
    const CXmlNode* root = document.Root();
    if (!root || root->Name() != "ui") {
        if (error)
            *error = "not a Qt Designer form";
        return std::nullopt;
    }
    TemplateInfo info;
    CTemplateReader reader(info);
    for (const CXmlNode& child : root->Children()) {
        if (child.IsElement() && child.Name() == "widget") {
            const std::string name = child.Attribute("name");
            // Templates are named by number: "t229".
            if (name.size() > 1 && name[0] == 't')
                std::from_chars(name.data() + 1, name.data() + name.size(), info.id);
            reader.ReadWidget(child, {}, true);
            return info;
        }
    }
    if (error)
        *error = "the form holds no widget";
    return std::nullopt;
}

std::string_view ControlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button: return "button";
    case ControlKind::CheckBox: return "check box";
    case ControlKind::Radio: return "radio button";
    case ControlKind::Edit: return "edit field";
    case ControlKind::Spin: return "spin field";
    case ControlKind::TextBox: return "text box";
    case ControlKind::Combo: return "combo box";
    case ControlKind::ListBox: return "list box";
    case ControlKind::Label: return "label";
    case ControlKind::Picture: return "picture";
    case ControlKind::ReportList: return "report list";
    case ControlKind::Tree: return "tree";
    case ControlKind::Progress: return "progress bar";
    case ControlKind::Browser: return "browser";
    case ControlKind::PageArea: return "page area";
    case ControlKind::Frame: return "frame";
    case ControlKind::MediaPlayer: return "media player";
    case ControlKind::Custom: return "custom";
    }
    return "unknown";
}

} // namespace orvane::platform
