// The page area of a sheet or a wizard, its pages, and their place in the
// window's focus chain.

#include "qt_window.h"
#include "qt_window_p.h"

#include "qt_resources.h"

#include <QStackedWidget>
#include <QTabWidget>

namespace orvane::platform::qt {
namespace {

// Qt puts the widgets of a page made now at the end of its window's focus
// chain, which is a ring: a page area that comes first in its frame and takes
// no focus itself (a wizard's) has its pages read before the frame's buttons
// as they are. The pages of an area that takes the focus (a tab widget's tabs)
// are moved in behind it, each after the one before; the widget they now
// follow is returned.
QWidget* PutPageInFocusChain(QWidget* after, QWidget& page)
{
    if (!after)
        return nullptr;
    QWidget* window = page.window();
    QList<QWidget*> controls;
    for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
        if (page.isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus))
            controls << widget;
    }
    for (QWidget* control : controls) {
        QWidget::setTabOrder(after, control);
        after = control;
    }
    return after;
}

// The first control of a page that the user can reach with Tab.
QWidget* FirstFocusableOf(QWidget& page)
{
    for (QWidget* widget = page.nextInFocusChain(); widget != &page && page.isAncestorOf(widget);
         widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && widget->isVisibleTo(&page))
            return widget;
    }
    return nullptr;
}

} // namespace

void CQtWindow::BindPageArea(int /*id*/, Control& control)
{
    QWidget* widget = control.widget;
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
        QObject::connect(tabs, &QTabWidget::currentChanged, widget, [this](int index) { PageAreaChanged(index); });
}

void CQtWindow::PageAreaChanged(int index)
{
    if (m_quiet || index == m_currentPage || index < 0)
        return;
    // The page changes when the logic says so (a page may refuse to be left).
    if (auto* tabs = As<QTabWidget>(kIdPageArea)) {
        CQuiet quiet(*this);
        tabs->setCurrentIndex(m_currentPage);
    }
    Notify({kIdPageArea, NotifyCode::SelectionChanged, index});
}

// --- Pages.

IWindow& CQtWindow::AddPage(int templateId, IDialogLogic& logic, std::string_view title)
{
    QWidget* area = Find(kIdPageArea) ? Find(kIdPageArea)->widget.data() : m_widget.data();
    QWidget* pageWidget = nullptr;
    TemplateInfo info;
    if (std::optional<QByteArray> text = TemplateText(templateId)) {
        if (auto parsed = ParseTemplate(std::string_view(text->constData(), static_cast<std::size_t>(text->size()))))
            info = std::move(*parsed);
        pageWidget = LoadTemplateWidget(*text, nullptr, nullptr, true);
    }
    if (!pageWidget) {
        qWarning("template %d of a page could not be loaded", templateId);
        pageWidget = new QWidget;
    }
    {
        CQuiet quiet(*this);
        if (auto* tabs = qobject_cast<QTabWidget*>(area))
            tabs->addTab(pageWidget, title.empty() ? pageWidget->windowTitle() : ToQt(title));
        else if (auto* stack = qobject_cast<QStackedWidget*>(area))
            stack->addWidget(pageWidget);
        else
            pageWidget->setParent(area);
    }
    if (m_pages.empty())
        m_pagesFocusEnd = area->focusPolicy() & Qt::TabFocus ? area : nullptr;
    m_pagesFocusEnd = PutPageInFocusChain(m_pagesFocusEnd, *pageWidget);
    m_pages.push_back(std::make_unique<CQtWindow>(templateId, info, pageWidget, logic, this));
    CQtWindow& page = *m_pages.back();
    logic.OnInit(page);
    return page;
}

IWindow& CQtWindow::Page(int index) { return *m_pages.at(static_cast<std::size_t>(index)); }

void CQtWindow::ShowPage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    {
        CQuiet quiet(*this);
        QWidget* pageWidget = m_pages[static_cast<std::size_t>(index)]->Widget();
        if (auto* tabs = As<QTabWidget>(kIdPageArea))
            tabs->setCurrentWidget(pageWidget);
        else if (auto* stack = As<QStackedWidget>(kIdPageArea)) {
            stack->setCurrentWidget(pageWidget);
            // As in any wizard, the keys go to the page the user now reads.
            QWidget* focus = m_widget ? m_widget->focusWidget() : nullptr;
            if (!focus || !pageWidget->isAncestorOf(focus)) {
                if (QWidget* first = FirstFocusableOf(*pageWidget))
                    first->setFocus(Qt::OtherFocusReason);
            }
        }
    }
    m_currentPage = index;
    CQtWindow& page = *m_pages[static_cast<std::size_t>(index)];
    page.Logic().OnActivate(page);
}

} // namespace orvane::platform::qt
