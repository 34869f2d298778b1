// The window as a whole: its frame, its keys, the template it is made from,
// and the binding of each control to the code for its kind.

#include "qt_window.h"
#include "qt_window_p.h"

#include "qt_browser.h"
#include "qt_resources.h"
#include "widgets/colour_sample_view.h"
#include "widgets/map_area_view.h"
#include "widgets/media_player_view.h"
#include "widgets/table_grid_view.h"

#include <QAction>
#include <QBuffer>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTimer>
#include <QUiLoader>
#include <QWhatsThis>

#include <utility>

namespace orvane::platform::qt {
namespace {

// The top widget of a dialog template: hands Enter, Escape, F1, the close box
// and the title bar's help button to the window's logic instead of closing.
class CDialogFrame final : public QDialog {
public:
    using QDialog::QDialog;
    CQtWindow* window = nullptr;

    void reject() override
    {
        if (window && !window->HasEnded())
            window->UserCancel();
        else
            QDialog::reject();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!window || window->HasEnded() || event->modifiers() & ~Qt::KeypadModifier)
            return QDialog::keyPressEvent(event);
        switch (event->key()) {
        case Qt::Key_Escape: window->UserCancel(); return;
        case Qt::Key_F1: window->UserHelp(); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A default button other than OK (a wizard's Next) takes Enter as a click.
            for (QPushButton* button : findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isVisible() && button->isEnabled() && button->objectName() != "c1") {
                    button->click();
                    return;
                }
            }
            window->UserOk();
            return;
        }
        default: return QDialog::keyPressEvent(event);
        }
    }

    void closeEvent(QCloseEvent* event) override
    {
        if (window && !window->HasEnded()) {
            window->UserClose();
            if (!window->HasEnded()) {
                event->ignore();
                return;
            }
        }
        QDialog::closeEvent(event);
    }

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::EnterWhatsThisMode && window) {
            QWhatsThis::leaveWhatsThisMode();
            window->UserHelp();
            return true;
        }
        return QDialog::event(event);
    }

    void contextMenuEvent(QContextMenuEvent* event) override
    {
        if (window && window->SystemMenu())
            window->SystemMenu()->exec(event->globalPos());
    }
};

class CFormLoader final : public QUiLoader {
public:
    explicit CFormLoader(bool asPage) : m_asPage(asPage) {}
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        if (!parent && className == "QDialog") {
            // A page's keys and close box belong to the sheet around it.
            QWidget* dialog = m_asPage ? new QWidget : new CDialogFrame;
            dialog->setObjectName(name);
            return dialog;
        }
        if (className == CMapAreaView::kClassName)
            return Named(new CMapAreaView(parent), name);
        if (className == CMediaPlayerView::kClassName)
            return Named(new CMediaPlayerView(parent), name);
        if (className == CTableGridView::kClassName)
            return Named(new CTableGridView(parent), name);
        if (className == CColourSampleView::kClassName)
            return Named(new CColourSampleView(parent), name);
        return QUiLoader::createWidget(className, parent, name);
    }

private:
    static QWidget* Named(QWidget* view, const QString& name)
    {
        view->setObjectName(name);
        return view;
    }
    bool m_asPage;
};

QKeySequence KeysOf(Key key)
{
    switch (key) {
    case Key::Space: return QKeySequence(Qt::Key_Space);
    case Key::Enter: return QKeySequence(Qt::Key_Return);
    case Key::Escape: return QKeySequence(Qt::Key_Escape);
    case Key::Delete: return QKeySequence(Qt::Key_Delete);
    case Key::Backspace: return QKeySequence(Qt::Key_Backspace);
    case Key::F5: return QKeySequence(Qt::Key_F5);
    case Key::AltUp: return QKeySequence(Qt::ALT | Qt::Key_Up);
    case Key::CtrlL: return QKeySequence(Qt::CTRL | Qt::Key_L);
    }
    return {};
}

// Whether the pressed key is the one watched: the keypad's Enter counts as
// Enter; keys without a modifier are heard with none but Shift or the keypad's.
bool IsKey(const QKeyEvent& event, Key key)
{
    if (key == Key::Enter && event.key() == Qt::Key_Enter)
        return true;
    const QKeyCombination watched = KeysOf(key)[0];
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() != watched.key())
        return false;
    if (watched.keyboardModifiers() != Qt::NoModifier)
        return modifiers == watched.keyboardModifiers();
    return key == Key::Space || key == Key::Enter || (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
}

} // namespace

// Focus and the keys the logic watches, for every control.
class CQtWindow::CControlEvents final : public QObject {
public:
    explicit CControlEvents(CQtWindow& window) : m_window(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const int id = ControlIdOfName(watched->objectName().toStdString());
        return id > 0 && m_window.ControlEvent(id, event);
    }

private:
    CQtWindow& m_window;
};

bool WidgetServes(const QWidget* widget, ControlKind kind)
{
    if (!widget)
        return false;
    switch (kind) {
    case ControlKind::Button: return widget->inherits("QPushButton") || widget->inherits("QToolButton");
    case ControlKind::CheckBox: return widget->inherits("QCheckBox");
    case ControlKind::Radio: return widget->inherits("QRadioButton");
    case ControlKind::Edit: return widget->inherits("QLineEdit");
    case ControlKind::Spin: return widget->inherits("QSpinBox");
    case ControlKind::TextBox:
        return widget->inherits("QPlainTextEdit") || (widget->inherits("QTextEdit") && !widget->inherits("QTextBrowser"));
    case ControlKind::Combo: return widget->inherits("QComboBox");
    case ControlKind::ListBox: return widget->inherits("QListWidget");
    case ControlKind::Label:
    case ControlKind::Picture: return widget->inherits("QLabel");
    case ControlKind::ReportList:
    case ControlKind::Tree: return widget->inherits("QTreeWidget");
    case ControlKind::Progress: return widget->inherits("QProgressBar");
    case ControlKind::Browser: return widget->inherits("QTextBrowser");
    case ControlKind::PageArea: return widget->inherits("QStackedWidget") || widget->inherits("QTabWidget");
    case ControlKind::Frame: return widget->inherits("QFrame") || widget->inherits("QGroupBox");
    case ControlKind::MediaPlayer: return dynamic_cast<const CMediaPlayerView*>(widget) != nullptr;
    case ControlKind::Custom: return true;
    }
    return false;
}

QWidget* LoadTemplateWidget(const QByteArray& uiText, QWidget* parent, std::string* error, bool asPage)
{
    CFormLoader loader(asPage);
    QByteArray bytes = uiText;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QWidget* widget = loader.load(&buffer, parent);
    if (!widget && error)
        *error = loader.errorString().toStdString();
    if (widget)
        NameForScreenReaders(*widget);
    return widget;
}

CQtWindow::CQtWindow(int templateId, const TemplateInfo& info, QWidget* widget, IDialogLogic& logic, CQtWindow* owner)
    : m_templateId(templateId), m_widget(widget), m_ownsWidget(qobject_cast<QDialog*>(widget) != nullptr),
      m_logic(logic), m_owner(owner), m_events(std::make_unique<CControlEvents>(*this))
{
    if (auto* frame = dynamic_cast<CDialogFrame*>(widget)) {
        frame->window = this;
        frame->setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    }
    for (const auto& [id, control] : info.controls) {
        QWidget* child = widget->findChild<QWidget*>(QString::fromStdString(ControlName(id)));
        if (!WidgetServes(child, control.kind)) {
            qWarning("template %d: control %d is not a %s", templateId, id,
                     std::string(ControlKindName(control.kind)).c_str());
            continue;
        }
        Control& bound = m_controls[id];
        bound.widget = child;
        bound.kind = control.kind;
        Bind(id, bound);
    }
}

CQtWindow::~CQtWindow()
{
    m_pages.clear();
    // A player whose page goes on being shown stops telling this window.
    for (auto& [id, control] : m_controls) {
        if (auto* player = dynamic_cast<CMediaPlayerView*>(control.widget.data()))
            player->SetStateListener({});
        if (auto* grid = dynamic_cast<CTableGridView*>(control.widget.data()))
            grid->SetListener({});
    }
    for (auto& [id, timer] : m_timers)
        delete timer;
    if (m_ownsWidget)
        delete m_widget.data();
}

void CQtWindow::Bind(int id, Control& control)
{
    control.widget->installEventFilter(m_events.get());
    switch (control.kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::Radio: BindButton(id, control); break;
    case ControlKind::Edit:
    case ControlKind::Spin:
    case ControlKind::TextBox: BindTextField(id, control); break;
    case ControlKind::Combo: BindCombo(id, control); break;
    case ControlKind::ListBox:
    case ControlKind::ReportList: BindList(id, control); break;
    case ControlKind::Tree: BindTree(id, control); break;
    case ControlKind::PageArea: BindPageArea(id, control); break;
    case ControlKind::Browser:
    case ControlKind::MediaPlayer:
    case ControlKind::Custom: BindView(id, control); break;
    default: break;
    }
}

bool CQtWindow::ControlEvent(int id, QEvent* event)
{
    Control* control = Find(id);
    if (!control)
        return false;
    if (event->type() == QEvent::FocusIn) {
        Notification notification{id, NotifyCode::FocusGained};
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        notification.focusCause = reason == Qt::MouseFocusReason            ? FocusCause::Mouse
                                  : reason == Qt::ActiveWindowFocusReason ? FocusCause::WindowActivated
                                                                          : FocusCause::Keyboard;
        Notify(notification);
        return false;
    }
    if (event->type() == QEvent::KeyPress && control->editableColumn >= 0 && EditInPlace(id, *static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        for (Key key : control->watchedKeys) {
            if (IsKey(*keyEvent, key)) {
                Notification notification{id, NotifyCode::KeyPressed};
                notification.key = key;
                Notify(notification);
                return true;
            }
        }
    }
    if (control->kind == ControlKind::Combo && (event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel))
        return StepCombo(id, *control->widget, event);
    return false;
}

void CQtWindow::Notify(const Notification& notification)
{
    if (m_quiet == 0 && !m_ended)
        m_logic.OnNotify(*this, notification);
}

void CQtWindow::UserOk() { if (!m_ended) m_logic.OnOk(*this); }
void CQtWindow::UserCancel() { if (!m_ended) m_logic.OnCancel(*this); }
void CQtWindow::UserClose() { if (!m_ended) m_logic.OnClose(*this); }
void CQtWindow::UserHelp() { if (!m_ended) m_logic.OnHelp(*this); }

void CQtWindow::UserSystemMenu()
{
    if (m_systemMenu && m_widget)
        m_systemMenu->exec(m_widget->mapToGlobal(QPoint(0, 0)));
}

CQtWindow::Control* CQtWindow::Find(int id)
{
    return const_cast<Control*>(std::as_const(*this).Find(id));
}

const CQtWindow::Control* CQtWindow::Find(int id) const
{
    auto it = m_controls.find(id);
    return it == m_controls.end() || !it->second.widget ? nullptr : &it->second;
}

// --- The window as a whole.

void CQtWindow::SetTitle(std::string_view title)
{
    if (m_widget)
        m_widget->setWindowTitle(ToQt(title));
}

std::string CQtWindow::Title() const { return m_widget ? FromQt(m_widget->windowTitle()) : std::string(); }

void CQtWindow::SetIcon(int iconId)
{
    QIcon icon = IconResource(iconId);
    if (m_widget && !icon.isNull())
        m_widget->setWindowIcon(icon);
}

void CQtWindow::AddSystemCommand(int command, std::string_view text)
{
    if (!m_widget)
        return;
    if (!m_systemMenu) {
        // Desktops on Linux give a dialog no window menu of its own: the
        // entries open from Alt+Space (where the desktop leaves that key to
        // the program), Ctrl+F10, or a right click on the window's background.
        m_systemMenu = new QMenu(m_widget);
        m_systemMenu->setAccessibleName(QCoreApplication::translate("window", "Window menu"));
        for (QKeySequence keys : {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::CTRL | Qt::Key_F10)}) {
            auto* shortcut = new QShortcut(keys, m_widget);
            shortcut->setContext(Qt::WindowShortcut);
            QObject::connect(shortcut, &QShortcut::activated, m_widget, [this] { UserSystemMenu(); });
        }
    }
    QAction* action = m_systemMenu->addAction(ToQt(text));
    QObject::connect(action, &QAction::triggered, m_widget, [this, command] {
        if (!m_ended)
            m_logic.OnSystemCommand(*this, command);
    });
}

void CQtWindow::End(int result)
{
    if (m_ended)
        return;
    m_ended = true;
    m_result = result;
    for (auto& [id, timer] : m_timers)
        timer->stop();
    if (auto* dialog = qobject_cast<QDialog*>(m_widget.data()))
        dialog->done(result);
}

int CQtWindow::ClientWidth() const { return m_widget ? m_widget->contentsRect().width() : 0; }

WindowPlacement CQtWindow::Placement() const
{
    WindowPlacement placement;
    if (!m_widget)
        return placement;
    placement.maximized = m_widget->isMaximized();
    const QRect rect = placement.maximized ? m_widget->normalGeometry() : m_widget->geometry();
    placement.left = rect.left();
    placement.top = rect.top();
    placement.right = rect.left() + rect.width();
    placement.bottom = rect.top() + rect.height();
    return placement;
}

void CQtWindow::SetPlacement(const WindowPlacement& placement)
{
    if (!m_widget)
        return;
    m_widget->setGeometry(placement.left, placement.top, placement.right - placement.left,
                          placement.bottom - placement.top);
    if (placement.maximized)
        m_widget->setWindowState(m_widget->windowState() | Qt::WindowMaximized);
}

std::vector<ScreenArea> CQtWindow::ScreenAreas() const
{
    std::vector<ScreenArea> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen(); primary && screens.removeOne(primary))
        screens.prepend(primary);
    for (const QScreen* screen : screens) {
        const QRect area = screen->availableGeometry();
        areas.push_back({area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
    }
    return areas;
}

std::pair<int, int> CQtWindow::ScreenSize() const
{
    QScreen* screen = m_widget && m_widget->screen() ? m_widget->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0};
    const QSize size = screen->availableGeometry().size();
    return {size.width(), size.height()};
}

// The window's splitter, when its template has one: the ratio is the share of
// its first side.
std::pair<int, int> CQtWindow::SplitterRatio() const
{
    const QSplitter* splitter = m_widget ? m_widget->findChild<QSplitter*>() : nullptr;
    if (!splitter)
        return m_splitterRatio;
    const QList<int> sizes = splitter->sizes();
    int total = 0;
    for (int size : sizes)
        total += size;
    if (sizes.size() < 2 || total <= 0)
        return m_splitterRatio;
    return {sizes.front(), total};
}

void CQtWindow::SetSplitterRatio(int numerator, int denominator)
{
    m_splitterRatio = {numerator, denominator};
    QSplitter* splitter = m_widget ? m_widget->findChild<QSplitter*>() : nullptr;
    if (!splitter || denominator <= 0 || numerator < 0 || numerator > denominator)
        return;
    // Sizes in proportion: the splitter scales them to its width.
    constexpr int kScale = 10000;
    const int first = static_cast<int>(static_cast<long long>(kScale) * numerator / denominator);
    splitter->setSizes({first, kScale - first});
}

// --- Any control.

std::optional<ControlKind> CQtWindow::KindOf(int id) const
{
    const Control* control = Find(id);
    return control ? std::optional<ControlKind>(control->kind) : std::nullopt;
}

void CQtWindow::Enable(int id, bool enable)
{
    if (Control* control = Find(id))
        control->widget->setEnabled(enable);
}

bool CQtWindow::IsEnabled(int id) const
{
    const Control* control = Find(id);
    return control && control->widget->isEnabled();
}

void CQtWindow::Show(int id, bool show)
{
    Control* control = Find(id);
    if (!control)
        return;
    control->widget->setVisible(show);
    FollowSharedLabels(*control->widget);
}

bool CQtWindow::IsVisible(int id) const
{
    // Visible as far as the window goes, whether or not the window itself is shown yet.
    const Control* control = Find(id);
    return control && m_widget && control->widget->isVisibleTo(m_widget);
}

void CQtWindow::Focus(int id)
{
    if (Control* control = Find(id)) {
        CQuiet quiet(*this);
        control->widget->setFocus(Qt::OtherFocusReason);
    }
}

int CQtWindow::FocusedControl() const
{
    QWidget* focus = m_widget ? m_widget->focusWidget() : nullptr;
    for (const auto& [id, control] : m_controls) {
        if (control.widget && (control.widget == focus || control.widget->isAncestorOf(focus)))
            return id;
    }
    return 0;
}

void CQtWindow::WatchWindowKey(Key key)
{
    if (!m_widget)
        return;
    auto* shortcut = new QShortcut(KeysOf(key), m_widget);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, m_widget, [this, key] {
        Notification notification{0, NotifyCode::KeyPressed};
        notification.key = key;
        Notify(notification);
    });
}

void CQtWindow::WatchKey(int id, Key key)
{
    if (Control* control = Find(id))
        control->watchedKeys.push_back(key);
}

} // namespace orvane::platform::qt
