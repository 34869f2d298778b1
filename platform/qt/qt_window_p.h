#pragma once

// What the files that bind a window's controls share: the data roles of
// their rows, the conversions of text, and the guard that keeps the logic
// from hearing of its own changes. Not for use outside the window.

#include "qt_window.h"

#include <QString>
#include <QTreeWidgetItem>

#include <string>
#include <string_view>

namespace orvane::platform::qt {

constexpr int kDataRole = Qt::UserRole;
constexpr int kIconRole = kStateIconRole;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kIndentRole = Qt::UserRole + 3;

inline QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

// What a screen reader needs of a freshly loaded form beyond what Qt gives it.
void NameForScreenReaders(QWidget& form);

// A row or tree item that a screen reader reads with the words of its state
// icon after its text: "booking.html, Repaired", unless a column of the row
// says them already. Composed when asked, so an edit of the text keeps them.
class CStateItem final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    QVariant data(int column, int role) const override
    {
        if (role == Qt::AccessibleTextRole && column == 0) {
            const QString state = QTreeWidgetItem::data(0, kStateTextRole).toString();
            if (!state.isEmpty() && !Says(state))
                return text(0).isEmpty() ? state : text(0) + ", " + state;
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    bool Says(const QString& words) const
    {
        for (int column = 0; column < columnCount(); ++column) {
            if (text(column).contains(words, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
};

// Keeps the logic from hearing of the changes it makes itself.
class CQtWindow::CQuiet {
public:
    explicit CQuiet(const CQtWindow& window) : m_window(const_cast<CQtWindow&>(window)) { ++m_window.m_quiet; }
    ~CQuiet() { --m_window.m_quiet; }

private:
    CQtWindow& m_window;
};

// Files dropped on the window, for the logic.
class CQtWindow::CDropEvents final : public QObject {
public:
    explicit CDropEvents(CQtWindow& window) : m_window(window) {}
    bool eventFilter(QObject*, QEvent* event) override;

private:
    CQtWindow& m_window;
};

template <class W>
W* CQtWindow::As(int id) const
{
    const Control* control = Find(id);
    return control ? qobject_cast<W*>(control->widget.data()) : nullptr;
}

} // namespace orvane::platform::qt
