#pragma once

#include "platform/window.h"

#include <functional>
#include <vector>

namespace orvane::platform {

// Report lists whose columns the user may hide and show again. The list's
// header opens a menu of the columns on a right click, and so does the list
// itself on Shift+F10 or the Menu key, so it is reached without a mouse;
// each entry is named after its column and checked while the column shows.
// Choosing one calls the logic back with the column; the logic then shows or
// hides it.
class IColumnMenus {
public:
    virtual ~IColumnMenus() = default;
    virtual void SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen) = 0;
    virtual void SetColumnHidden(int id, int column, bool hidden) = 0;
    virtual bool IsColumnHidden(int id, int column) const = 0;
};

// The window's column menus; null for a window that has none.
inline IColumnMenus* ColumnMenus(IWindow* window) { return dynamic_cast<IColumnMenus*>(window); }

} // namespace orvane::platform
