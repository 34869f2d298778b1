#include "qt_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include "qt_browser.h"
#include "qt_resources.h"
#include "widgets/colour_sample_view.h"
#include "widgets/map_area_view.h"
#include "widgets/media_player_view.h"
#include "widgets/table_grid_view.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QMimeData>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUiLoader>
#include <QWhatsThis>

#include <algorithm>
#include <utility>

namespace orvane::platform::qt {
namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kIconRole = kStateIconRole;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kIndentRole = Qt::UserRole + 3;
// Set on a control whose accessible name its label gave, so that a new text
// of the label renames it.
constexpr char kNamedByLabel[] = "orvaneNamedByLabel";

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

// A label's words as a name: without the mnemonic's marker and the colon.
QString NameOfLabelText(QString text)
{
    QString name;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        name += text[i];
    }
    name = name.trimmed();
    if (name.endsWith(':'))
        name.chop(1);
    return name.trimmed();
}

// Qt names a line edit or a button after the label whose buddy it is, but
// not a list, a tree or a drop-down list: a screen reader would read those
// by their current entry or not at all. They take their label's words, unless
// the template gives them a name of their own.
void NameByLabel(QLabel& label)
{
    QWidget* buddy = label.buddy();
    if (!buddy || !(qobject_cast<QAbstractItemView*>(buddy) || qobject_cast<QComboBox*>(buddy)))
        return;
    if (!buddy->accessibleName().isEmpty() && !buddy->property(kNamedByLabel).toBool())
        return;
    const QString name = NameOfLabelText(label.text());
    if (name.isEmpty())
        return;
    buddy->setAccessibleName(name);
    buddy->setProperty(kNamedByLabel, true);
    // The line of an editable drop-down list takes the focus on its own.
    if (auto* combo = qobject_cast<QComboBox*>(buddy); combo && combo->lineEdit())
        combo->lineEdit()->setAccessibleName(name);
}

// What a screen reader needs of a form beyond what Qt gives it: names for
// the controls whose labels Qt does not take as names, a value read with
// its caption, and a name for a sheet's tabs.
void NameForScreenReaders(QWidget& form)
{
    for (QFormLayout* layout : form.findChildren<QFormLayout*>()) {
        for (int row = 0; row < layout->rowCount(); ++row) {
            QLayoutItem* caption = layout->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem* field = layout->itemAt(row, QFormLayout::FieldRole);
            auto* label = caption ? qobject_cast<QLabel*>(caption->widget()) : nullptr;
            if (label && !label->buddy() && field && field->widget())
                label->setBuddy(field->widget());
        }
    }
    for (QLabel* label : form.findChildren<QLabel*>())
        NameByLabel(*label);
    for (QComboBox* combo : form.findChildren<QComboBox*>()) {
        if (combo->lineEdit() && combo->lineEdit()->accessibleName().isEmpty())
            combo->lineEdit()->setAccessibleName(combo->accessibleName());
    }
    for (QTabWidget* tabs : form.findChildren<QTabWidget*>()) {
        if (tabs->accessibleName().isEmpty())
            tabs->setAccessibleName(form.windowTitle());
        if (tabs->tabBar()->accessibleName().isEmpty())
            tabs->tabBar()->setAccessibleName(tabs->accessibleName());
    }
}

// An image of the desktop's icon theme by its freedesktop.org name; where
// the theme lacks it, the style's picture of that kind of thing.
QIcon ThemeImage(const QString& name)
{
    if (name.isEmpty())
        return {};
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull())
        return icon;
    static QFileIconProvider provider;
    if (name == "user-desktop")
        return provider.icon(QFileIconProvider::Desktop);
    if (name.startsWith("folder-remote"))
        return provider.icon(QFileIconProvider::Network);
    if (name.startsWith("folder"))
        return provider.icon(QFileIconProvider::Folder);
    if (name.startsWith("drive-optical"))
        return provider.icon(QFileIconProvider::Drive);
    if (name.startsWith("drive"))
        return provider.icon(QFileIconProvider::Drive);
    return provider.icon(QFileIconProvider::File);
}

// Entries of a combo's drop-down list indented by their level; the entry in
// the closed box is not.
class CIndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(index.data(kIndentRole).toInt() * 12, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
std::string FromQt(const QString& text) { return text.toStdString(); }

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
        if (className == CMapAreaView::kClassName) {
            auto* view = new CMapAreaView(parent);
            view->setObjectName(name);
            return view;
        }
        if (className == CMediaPlayerView::kClassName) {
            auto* view = new CMediaPlayerView(parent);
            view->setObjectName(name);
            return view;
        }
        if (className == CTableGridView::kClassName) {
            auto* view = new CTableGridView(parent);
            view->setObjectName(name);
            return view;
        }
        if (className == CColourSampleView::kClassName) {
            auto* view = new CColourSampleView(parent);
            view->setObjectName(name);
            return view;
        }
        return QUiLoader::createWidget(className, parent, name);
    }

private:
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

// How many files of a watched folder are watched besides the folder, so that
// one large folder does not use up what the system allows a user.
constexpr int kWatchedFilesMax = 500;
// Changes coming in a burst (a program saving through a temporary file) are
// taken up together, this long after the first.
constexpr int kFolderSettleMilliseconds = 250;

Qt::Alignment AlignmentOf(Align align)
{
    switch (align) {
    case Align::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Align::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Align::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

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

// A row's text still being edited in a list when a button is pressed (by
// its key, which leaves the focus in the editor) is taken first, so the
// button acts on what the user sees.
void TakeOpenEdit()
{
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* outer = focus ? focus->parentWidget() : nullptr; outer; outer = outer->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(outer)) {
            emit view->itemDelegate()->commitData(focus);
            emit view->itemDelegate()->closeEditor(focus, QAbstractItemDelegate::NoHint);
            return;
        }
    }
}

} // namespace

// Keeps the logic from hearing of the changes it makes itself.
class CQtWindow::CQuiet {
public:
    explicit CQuiet(const CQtWindow& window) : m_window(const_cast<CQtWindow&>(window)) { ++m_window.m_quiet; }
    ~CQuiet() { --m_window.m_quiet; }

private:
    CQtWindow& m_window;
};

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

namespace {

// The file a file: address names, as the bytes of its path: the address
// carries a name that is not UTF-8 as %-escaped bytes, which a QString
// would not give back.
std::string LocalPathOf(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

// Files dropped on the window, for the logic.
class CQtWindow::CDropEvents final : public QObject {
public:
    explicit CDropEvents(CQtWindow& window) : m_window(window) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!Paths(drag->mimeData()).empty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::vector<std::string> paths = Paths(drop->mimeData());
            if (!paths.empty() && !m_window.HasEnded()) {
                drop->acceptProposedAction();
                // Taken up once the drop has ended: checking them may take a
                // while and ask questions, and the program the files came
                // from waits for the drop to end until then.
                QMetaObject::invokeMethod(
                    this,
                    [this, paths] {
                        if (!m_window.HasEnded())
                            m_window.m_logic.OnDropFiles(m_window, paths);
                    },
                    Qt::QueuedConnection);
                return true;
            }
        }
        return false;
    }

private:
    static std::vector<std::string> Paths(const QMimeData* data)
    {
        std::vector<std::string> paths;
        if (!data)
            return paths;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile())
                paths.push_back(LocalPathOf(url));
        }
        return paths;
    }
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
    QWidget* widget = control.widget;
    widget->installEventFilter(m_events.get());
    switch (control.kind) {
    case ControlKind::Button:
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget, [this, id] {
            TakeOpenEdit();
            if (id == kIdCancel)
                UserCancel();
            else if (id == kIdHelp)
                UserHelp();
            else if (id == kIdOk)
                UserOk();
            else
                Notify({id, NotifyCode::Clicked});
        });
        break;
    case ControlKind::CheckBox:
    case ControlKind::Radio:
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget,
                         [this, id] { Notify({id, NotifyCode::Clicked}); });
        break;
    case ControlKind::Edit:
        QObject::connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, widget,
                         [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    case ControlKind::Spin:
        QObject::connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, widget,
                         [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    case ControlKind::TextBox:
        if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
            QObject::connect(plain, &QPlainTextEdit::textChanged, widget, [this, id] { Notify({id, NotifyCode::TextChanged}); });
        else if (auto* rich = qobject_cast<QTextEdit*>(widget))
            QObject::connect(rich, &QTextEdit::textChanged, widget, [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    case ControlKind::Combo: {
        auto* combo = static_cast<QComboBox*>(widget);
        QObject::connect(combo, &QComboBox::activated, widget, [this, id](int row) {
            Notify({id, NotifyCode::SelectionChanged, row});
            if (m_steppingCombo != id)
                Notify({id, NotifyCode::Chosen, row});
        });
        if (combo->lineEdit())
            QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, widget,
                             [this, id] { Notify({id, NotifyCode::TextChanged}); });
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        QObject::connect(list, &QListWidget::currentRowChanged, widget,
                         [this, id](int row) { Notify({id, NotifyCode::SelectionChanged, row}); });
        QObject::connect(list, &QListWidget::itemDoubleClicked, widget, [this, id, list](QListWidgetItem* item) {
            Notify({id, NotifyCode::DoubleClicked, list->row(item)});
        });
        break;
    }
    case ControlKind::ReportList: {
        auto* tree = static_cast<QTreeWidget*>(widget);
        tree->setRootIsDecorated(false);
        tree->setAllColumnsShowFocus(true);
        tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
        tree->header()->setSectionsClickable(true);
        QObject::connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, widget,
                         [this, id](const QItemSelection& selected, const QItemSelection& deselected) {
                             std::set<int> rows;
                             for (const QItemSelection* change : {&selected, &deselected}) {
                                 for (const QModelIndex& index : change->indexes())
                                     rows.insert(index.row());
                             }
                             for (int row : rows)
                                 Notify({id, NotifyCode::ItemChanged, row});
                         });
        QObject::connect(tree->header(), &QHeaderView::sectionClicked, widget, [this, id](int column) {
            Notification notification{id, NotifyCode::ColumnClicked};
            notification.column = column;
            Notify(notification);
        });
        QObject::connect(tree, &QTreeWidget::itemDoubleClicked, widget, [this, id, tree](QTreeWidgetItem* item) {
            if (const Control* bound = Find(id); bound && bound->editableColumn >= 0 && !m_ended)
                tree->editItem(item, bound->editableColumn);
            Notify({id, NotifyCode::DoubleClicked, tree->indexOfTopLevelItem(item)});
        });
        // Only the user's edits: the logic's own changes are made quietly.
        QObject::connect(tree, &QTreeWidget::itemChanged, widget, [this, id, tree](QTreeWidgetItem* item, int column) {
            // The logic's own changes are not heard: finding the row of each
            // would make filling a long list cost the square of its length.
            const Control* bound = Find(id);
            if (!bound || column != bound->editableColumn || m_quiet != 0)
                return;
            Notification notification{id, NotifyCode::ItemEdited, tree->indexOfTopLevelItem(item)};
            notification.column = column;
            Notify(notification);
        });
        break;
    }
    case ControlKind::Tree: {
        auto* tree = static_cast<QTreeWidget*>(widget);
        QObject::connect(tree, &QTreeWidget::currentItemChanged, widget,
                         [this, id] { Notify({id, NotifyCode::SelectionChanged}); });
        QObject::connect(tree, &QTreeWidget::itemDoubleClicked, widget,
                         [this, id] { Notify({id, NotifyCode::DoubleClicked}); });
        break;
    }
    case ControlKind::PageArea:
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            QObject::connect(tabs, &QTabWidget::currentChanged, widget, [this](int index) { PageAreaChanged(index); });
        break;
    case ControlKind::Browser:
        control.browser = std::make_unique<CQtBrowser>(static_cast<QTextBrowser*>(widget));
        break;
    case ControlKind::MediaPlayer:
        if (auto* player = dynamic_cast<CMediaPlayerView*>(widget))
            player->SetStateListener([this, id] { Notify({id, NotifyCode::PlayerStateChanged}); });
        break;
    case ControlKind::Custom:
        if (auto* grid = dynamic_cast<CTableGridView*>(widget)) {
            grid->SetListener([this, id](bool toggle, int cell, GridScope scope) {
                if (toggle)
                    Notify({.control = id, .code = NotifyCode::KeyPressed, .item = cell,
                            .column = static_cast<int>(scope), .key = Key::Space});
                else
                    Notify({.control = id, .code = NotifyCode::SelectionChanged, .item = cell});
            });
        }
        break;
    default:
        break;
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

// F2 and Enter open the current row's editable text; Enter in the open
// editor ends the edit (the editor's delegate takes the text) and goes no
// further, so it does not also press the window's default button.
bool CQtWindow::EditInPlace(int id, const QKeyEvent& event)
{
    auto* tree = As<QTreeWidget>(id);
    const Control* control = Find(id);
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (!tree || !control || (!enter && event.key() != Qt::Key_F2) || (event.modifiers() & ~Qt::KeypadModifier))
        return false;
    QWidget* focus = tree->window()->focusWidget();
    if (focus && focus != tree && tree->isAncestorOf(focus))
        return enter;
    if (QTreeWidgetItem* item = tree->currentItem()) {
        tree->editItem(item, control->editableColumn);
        return true;
    }
    return false;
}

// Keys (arrows, letters) and the wheel on a closed combo step through its
// entries, and Qt reports each step as if the entry had been picked. The
// step is delivered here, marked, so that only picks count as chosen.
bool CQtWindow::StepCombo(int id, QObject& combo, QEvent* event)
{
    const int outer = std::exchange(m_steppingCombo, id);
    combo.event(event);
    m_steppingCombo = outer;
    return true;
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

template <class W>
W* CQtWindow::As(int id) const
{
    const Control* control = Find(id);
    return control ? qobject_cast<W*>(control->widget.data()) : nullptr;
}

CQtWindow::Control* CQtWindow::Find(int id)
{
    auto it = m_controls.find(id);
    return it == m_controls.end() || !it->second.widget ? nullptr : &it->second;
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

void CQtWindow::StartTimer(int timer, int milliseconds)
{
    QTimer*& qtimer = m_timers[timer];
    if (!qtimer) {
        qtimer = new QTimer;
        QObject::connect(qtimer, &QTimer::timeout, qtimer, [this, timer] {
            if (!m_ended)
                m_logic.OnTimer(*this, timer);
        });
    }
    qtimer->start(milliseconds);
}

void CQtWindow::StopTimer(int timer)
{
    if (auto it = m_timers.find(timer); it != m_timers.end())
        it->second->stop();
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

void CQtWindow::SetText(int id, std::string_view text)
{
    Control* control = Find(id);
    if (!control)
        return;
    CQuiet quiet(*this);
    QWidget* widget = control->widget;
    const QString value = ToQt(text);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* spin = qobject_cast<QSpinBox*>(widget))
        spin->setValue(value.toInt());
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        plain->setPlainText(value);
    else if (auto* browser = qobject_cast<QTextBrowser*>(widget))
        browser->setHtml(value);
    else if (auto* rich = qobject_cast<QTextEdit*>(widget))
        rich->setPlainText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            combo->setEditText(value);
        else
            combo->setCurrentIndex(combo->findText(value));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
        NameByLabel(*label);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(value);
    else
        widget->setWindowTitle(value);
}

std::string CQtWindow::Text(int id) const
{
    const Control* control = Find(id);
    if (!control)
        return {};
    QWidget* widget = control->widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return FromQt(button->text());
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return FromQt(spin->cleanText());
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return FromQt(edit->text());
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget))
        return FromQt(plain->toPlainText());
    if (auto* rich = qobject_cast<QTextEdit*>(widget))
        return FromQt(rich->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return FromQt(combo->currentText());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return FromQt(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return FromQt(group->title());
    if (auto* list = qobject_cast<QListWidget*>(widget))
        return list->currentItem() ? FromQt(list->currentItem()->text()) : std::string();
    return FromQt(widget->windowTitle());
}

void CQtWindow::SetChecked(int id, bool checked)
{
    CQuiet quiet(*this);
    if (auto* button = As<QAbstractButton>(id))
        button->setChecked(checked);
    else if (auto* group = As<QGroupBox>(id))
        group->setChecked(checked);
}

bool CQtWindow::IsChecked(int id) const
{
    if (auto* button = As<QAbstractButton>(id))
        return button->isChecked();
    if (auto* group = As<QGroupBox>(id))
        return group->isChecked();
    return false;
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

// An address typed by hand, or picked from the known ones: one label names
// whichever of the two is shown, so its key always leads somewhere.
void CQtWindow::FollowSharedLabels(const QWidget& changed)
{
    if (!m_widget)
        return;
    if (!m_sharedLabels) {
        m_sharedLabels.emplace();
        for (QLabel* label : m_widget->findChildren<QLabel*>()) {
            if (label->property("buddies").isValid())
                m_sharedLabels->emplace_back(label);
        }
    }
    for (const QPointer<QLabel>& label : *m_sharedLabels) {
        if (!label)
            continue;
        const QStringList names = label->property("buddies").toString().split(' ', Qt::SkipEmptyParts);
        if (!names.contains(changed.objectName()))
            continue;
        for (const QString& name : names) {
            QWidget* candidate = m_widget->findChild<QWidget*>(name);
            if (candidate && !candidate->isHidden()) {
                label->setBuddy(candidate);
                NameByLabel(*label);
                break;
            }
        }
    }
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

void CQtWindow::SetPicture(int id, int iconId)
{
    auto* label = As<QLabel>(id);
    if (!label)
        return;
    QIcon icon = IconResource(iconId);
    const int side = label->style()->pixelMetric(QStyle::PM_LargeIconSize);
    label->setPixmap(icon.isNull() ? QPixmap() : icon.pixmap(side, side));
}

// --- Rows.

QTreeWidgetItem* CQtWindow::RowOf(int id, int row) const
{
    auto* tree = As<QTreeWidget>(id);
    return tree && row >= 0 && row < tree->topLevelItemCount() ? tree->topLevelItem(row) : nullptr;
}

void CQtWindow::SetColumns(int id, const std::vector<Column>& columns)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    // Widths are given for the classic 8-point dialog font, about 6 pixels a character.
    const double scale = std::max(1.0, tree->fontMetrics().averageCharWidth() / 6.0);
    tree->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    for (const Column& column : columns)
        titles << ToQt(column.title);
    tree->setHeaderLabels(titles);
    bool filled = false;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const Column& column = columns[static_cast<std::size_t>(i)];
        tree->setColumnWidth(i, static_cast<int>(column.width * scale));
        tree->headerItem()->setTextAlignment(i, AlignmentOf(column.align));
        tree->header()->setSectionResizeMode(i, column.fills ? QHeaderView::Stretch : QHeaderView::Interactive);
        filled = filled || column.fills;
    }
    if (filled)
        tree->header()->setStretchLastSection(false);
    tree->setHeaderHidden(false);
}

void CQtWindow::ClearItems(int id)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id))
        tree->clear();
    else if (auto* list = As<QListWidget>(id))
        list->clear();
    else if (auto* combo = As<QComboBox>(id))
        combo->clear();
}

int CQtWindow::AddItem(int id, std::string_view text, ItemData data)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        auto* item = new CStateItem(tree);
        item->setText(0, ToQt(text));
        item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
        item->setData(0, kIconRole, -1);
        if (Find(id)->editableColumn >= 0)
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        for (int column = 0; column < tree->columnCount(); ++column)
            item->setTextAlignment(column, Qt::Alignment(tree->headerItem()->textAlignment(column)));
        // An item is appended unless the tree sorts: a search of every row
        // would make filling a long list cost the square of its length.
        return tree->isSortingEnabled() ? tree->indexOfTopLevelItem(item) : tree->topLevelItemCount() - 1;
    }
    if (auto* list = As<QListWidget>(id)) {
        auto* item = new QListWidgetItem(ToQt(text), list);
        item->setData(kDataRole, QVariant::fromValue<qlonglong>(data));
        return list->row(item);
    }
    if (auto* combo = As<QComboBox>(id)) {
        combo->addItem(ToQt(text), QVariant::fromValue<qlonglong>(data));
        return combo->count() - 1;
    }
    return -1;
}

void CQtWindow::RemoveItem(int id, int row)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row))
        delete item;
    else if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        delete list->takeItem(row);
    else if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count())
        combo->removeItem(row);
}

int CQtWindow::ItemCount(int id) const
{
    if (auto* tree = As<QTreeWidget>(id))
        return tree->topLevelItemCount();
    if (auto* list = As<QListWidget>(id))
        return list->count();
    if (auto* combo = As<QComboBox>(id))
        return combo->count();
    return 0;
}

void CQtWindow::SetItemText(int id, int row, int column, std::string_view text)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row); item && column >= 0) {
        item->setText(column, ToQt(text));
        item->setTextAlignment(column, Qt::Alignment(item->treeWidget()->headerItem()->textAlignment(column)));
    } else if (auto* list = As<QListWidget>(id); list && column == 0 && row >= 0 && row < list->count())
        list->item(row)->setText(ToQt(text));
    else if (auto* combo = As<QComboBox>(id); combo && column == 0 && row >= 0 && row < combo->count())
        combo->setItemText(row, ToQt(text));
}

std::string CQtWindow::ItemText(int id, int row, int column) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return FromQt(item->text(column));
    if (auto* list = As<QListWidget>(id); list && column == 0 && row >= 0 && row < list->count())
        return FromQt(list->item(row)->text());
    if (auto* combo = As<QComboBox>(id); combo && column == 0 && row >= 0 && row < combo->count())
        return FromQt(combo->itemText(row));
    return {};
}

ItemData CQtWindow::GetItemData(int id, int row) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return static_cast<ItemData>(item->data(0, kDataRole).toLongLong());
    if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        return static_cast<ItemData>(list->item(row)->data(kDataRole).toLongLong());
    if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count())
        return static_cast<ItemData>(combo->itemData(row).toLongLong());
    return 0;
}

void CQtWindow::SetItemIcon(int id, int row, int icon)
{
    QTreeWidgetItem* item = RowOf(id, row);
    const Control* control = Find(id);
    if (!item || !control)
        return;
    CQuiet quiet(*this);
    item->setData(0, kIconRole, icon);
    UpdateRowDecoration(id, item);
}

// A report row shows its state icon and its kind's image side by side.
void CQtWindow::UpdateRowDecoration(int id, QTreeWidgetItem* item)
{
    const Control* control = Find(id);
    if (!control)
        return;
    UpdateStateText(*control, item);
    const int icon = item->data(0, kIconRole).toInt();
    const QIcon image = ThemeImage(item->data(0, kImageRole).toString());
    const bool hasState = icon >= 0 && icon < control->images.size();
    if (!hasState || image.isNull()) {
        item->setIcon(0, hasState ? QIcon(control->images[icon]) : image);
        return;
    }
    const int side = control->widget->style()->pixelMetric(QStyle::PM_SmallIconSize);
    const qreal ratio = control->widget->devicePixelRatioF();
    QPixmap both(QSize(side * 2 + 2, side) * ratio);
    both.setDevicePixelRatio(ratio);
    both.fill(Qt::transparent);
    {
        QPainter painter(&both);
        painter.drawPixmap(QRect(0, 0, side, side), control->images[icon]);
        painter.drawPixmap(QRect(side + 2, 0, side, side), image.pixmap(QSize(side, side), ratio));
    }
    item->setIcon(0, QIcon(both));
    if (auto* tree = qobject_cast<QTreeWidget*>(control->widget.data()); tree && tree->iconSize().width() < side * 2 + 2)
        tree->setIconSize(QSize(side * 2 + 2, side));
}

void CQtWindow::SetItemImage(int id, int row, std::string_view image)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row)) {
        item->setData(0, kImageRole, ToQt(image));
        UpdateRowDecoration(id, item);
    } else if (auto* combo = As<QComboBox>(id); combo && row >= 0 && row < combo->count()) {
        combo->setItemIcon(row, ThemeImage(ToQt(image)));
    }
}

void CQtWindow::SetItemIndent(int id, int row, int level)
{
    auto* combo = As<QComboBox>(id);
    if (!combo || row < 0 || row >= combo->count())
        return;
    if (!dynamic_cast<CIndentDelegate*>(combo->itemDelegate()))
        combo->setItemDelegate(new CIndentDelegate(combo));
    combo->setItemData(row, level, kIndentRole);
}

void CQtWindow::SetComboEditable(int id, bool editable, std::string_view text)
{
    auto* combo = As<QComboBox>(id);
    if (!combo || combo->isEditable() == editable)
        return;
    CQuiet quiet(*this);
    const int current = combo->currentIndex();
    combo->setEditable(editable);
    if (!editable) {
        combo->setCurrentIndex(current);
        return;
    }
    // A typed path is taken as it is: no entry is added for it, and no
    // entry's text completes it while the user types.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    QLineEdit* edit = combo->lineEdit();
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] { Notify({id, NotifyCode::TextChanged}); });
    edit->setText(ToQt(text));
    edit->selectAll();
}

bool CQtWindow::IsComboEditable(int id) const
{
    const auto* combo = As<QComboBox>(id);
    return combo && combo->isEditable();
}

int CQtWindow::ColumnWidth(int id, int column) const
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree || column < 0 || column >= tree->columnCount())
        return -1;
    // In the standard resolution's pixels, as SetColumns takes them.
    const double scale = std::max(1.0, tree->fontMetrics().averageCharWidth() / 6.0);
    return static_cast<int>(tree->columnWidth(column) / scale + 0.5);
}

void CQtWindow::SetColumnMenu(int id, const std::vector<int>& columns, std::function<void(int column)> chosen)
{
    auto* tree = As<QTreeWidget>(id);
    Control* control = Find(id);
    if (!tree || !control || control->kind != ControlKind::ReportList)
        return;
    const bool first = control->columnMenu.empty();
    control->columnMenu = columns;
    control->columnChosen = std::move(chosen);
    if (!first || columns.empty())
        return;
    tree->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree->header(), &QWidget::customContextMenuRequested, tree, [this, id, tree](const QPoint& at) {
        ShowColumnMenu(id, tree->header()->mapToGlobal(at));
    });
    // Shift+F10 and the Menu key reach the list, not its header, which takes no focus.
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(tree, &QWidget::customContextMenuRequested, tree, [this, id, tree](const QPoint& at) {
        ShowColumnMenu(id, tree->viewport()->mapToGlobal(at));
    });
}

void CQtWindow::ShowColumnMenu(int id, const QPoint& at)
{
    auto* tree = As<QTreeWidget>(id);
    const Control* control = Find(id);
    if (!tree || !control || m_ended)
        return;
    QMenu menu(tree);
    for (int column : control->columnMenu) {
        if (column < 0 || column >= tree->columnCount())
            continue;
        QAction* action = menu.addAction(tree->headerItem()->text(column));
        action->setCheckable(true);
        action->setChecked(!tree->isColumnHidden(column));
        action->setData(column);
    }
    if (menu.isEmpty())
        return;
    QAction* chosen = menu.exec(at);
    // The control may be gone once the menu closes: look it up again.
    const Control* still = Find(id);
    if (!chosen || m_ended || !still || !still->columnChosen)
        return;
    std::function<void(int)> toggled = still->columnChosen;
    toggled(chosen->data().toInt());
}

void CQtWindow::SetColumnHidden(int id, int column, bool hidden)
{
    if (auto* tree = As<QTreeWidget>(id); tree && column >= 0 && column < tree->columnCount())
        tree->setColumnHidden(column, hidden);
}

bool CQtWindow::IsColumnHidden(int id, int column) const
{
    const auto* tree = As<QTreeWidget>(id);
    return tree && column >= 0 && column < tree->columnCount() && tree->isColumnHidden(column);
}

void CQtWindow::SetColumnEditable(int id, int column)
{
    auto* tree = As<QTreeWidget>(id);
    Control* control = Find(id);
    if (!tree || !control || control->kind != ControlKind::ReportList)
        return;
    CQuiet quiet(*this);
    control->editableColumn = column;
    // Opened by the keys and the double click the window handles, on that column only.
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        tree->topLevelItem(row)->setFlags(tree->topLevelItem(row)->flags() | Qt::ItemIsEditable);
}

void CQtWindow::SetMapAreas(int id, std::string_view imagePath, const std::vector<MapOutline>& areas)
{
    const Control* control = Find(id);
    if (auto* view = control ? dynamic_cast<CMapAreaView*>(control->widget.data()) : nullptr)
        view->SetAreas(QString::fromLocal8Bit(imagePath.data(), static_cast<qsizetype>(imagePath.size())), areas);
}

void CQtWindow::SetColourSample(int id, const ColourSample& sample)
{
    const Control* control = Find(id);
    if (auto* view = control ? dynamic_cast<CColourSampleView*>(control->widget.data()) : nullptr)
        view->SetSample(sample);
}

CTableGridView* CQtWindow::GridOf(int id) const
{
    const Control* control = Find(id);
    return control ? dynamic_cast<CTableGridView*>(control->widget.data()) : nullptr;
}

void CQtWindow::SetGridContent(int id, const GridContent& content)
{
    if (CTableGridView* grid = GridOf(id))
        grid->SetContent(content);
}

void CQtWindow::SetGridCellHeader(int id, int cell, bool header)
{
    if (CTableGridView* grid = GridOf(id))
        grid->SetHeader(cell, header);
}

void CQtWindow::SetGridCellDescription(int id, int cell, std::string_view description)
{
    if (CTableGridView* grid = GridOf(id))
        grid->SetDescription(cell, std::string(description));
}

void CQtWindow::SetCurrentGridCell(int id, int cell)
{
    if (CTableGridView* grid = GridOf(id))
        grid->SetCurrent(cell);
}

int CQtWindow::CurrentGridCell(int id) const
{
    const CTableGridView* grid = GridOf(id);
    return grid ? grid->Current() : -1;
}

void CQtWindow::SetCurrentMapArea(int id, int index)
{
    const Control* control = Find(id);
    if (auto* view = control ? dynamic_cast<CMapAreaView*>(control->widget.data()) : nullptr)
        view->SetCurrent(index);
}

void CQtWindow::WatchFolder(std::string_view folder)
{
    if (!m_widget)
        return;
    if (!m_folderWatcher) {
        m_folderWatcher = new QFileSystemWatcher(m_widget);
        m_folderSettle = new QTimer(m_widget);
        m_folderSettle->setSingleShot(true);
        m_folderSettle->setInterval(kFolderSettleMilliseconds);
        QObject::connect(m_folderSettle, &QTimer::timeout, m_widget, [this] {
            // Files added since are watched too, and those replaced by a
            // rename (the way many programs save) again.
            WatchFolderFiles();
            if (!m_ended)
                m_logic.OnFolderChanged(*this);
        });
        auto changed = [this] {
            if (!m_folderSettle->isActive())
                m_folderSettle->start();
        };
        QObject::connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, m_widget, changed);
        QObject::connect(m_folderWatcher, &QFileSystemWatcher::fileChanged, m_widget, changed);
    }
    m_folderSettle->stop();
    if (const QStringList watched = m_folderWatcher->files() + m_folderWatcher->directories(); !watched.isEmpty())
        m_folderWatcher->removePaths(watched);
    m_watchedFolder = QFile::decodeName(QByteArray(folder.data(), static_cast<qsizetype>(folder.size())));
    WatchFolderFiles();
}

void CQtWindow::WatchFolderFiles()
{
    if (!m_folderWatcher || m_watchedFolder.isEmpty())
        return;
    const QDir folder(m_watchedFolder);
    QStringList paths{m_watchedFolder};
    const QStringList files = folder.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (qsizetype i = 0; i < files.size() && i < kWatchedFilesMax; ++i)
        paths << folder.filePath(files[i]);
    const QStringList watched = m_folderWatcher->files() + m_folderWatcher->directories();
    QStringList added;
    for (const QString& path : paths) {
        if (!watched.contains(path))
            added << path;
    }
    if (!added.isEmpty())
        m_folderWatcher->addPaths(added);
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

void CQtWindow::AcceptDroppedFiles()
{
    if (!m_widget || m_drops)
        return;
    m_drops = std::make_unique<CDropEvents>(*this);
    m_widget->setAcceptDrops(true);
    m_widget->installEventFilter(m_drops.get());
    for (auto& [id, control] : m_controls) {
        if (auto* view = qobject_cast<QAbstractItemView*>(control.widget.data())) {
            view->viewport()->setAcceptDrops(true);
            view->viewport()->installEventFilter(m_drops.get());
        }
    }
}

int CQtWindow::ItemIcon(int id, int row) const
{
    QTreeWidgetItem* item = RowOf(id, row);
    return item ? item->data(0, kIconRole).toInt() : -1;
}

void CQtWindow::SetItemSelected(int id, int row, bool selected)
{
    CQuiet quiet(*this);
    if (QTreeWidgetItem* item = RowOf(id, row))
        item->setSelected(selected);
    else if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        list->item(row)->setSelected(selected);
}

bool CQtWindow::IsItemSelected(int id, int row) const
{
    if (QTreeWidgetItem* item = RowOf(id, row))
        return item->isSelected();
    if (auto* list = As<QListWidget>(id); list && row >= 0 && row < list->count())
        return list->item(row)->isSelected();
    return false;
}

void CQtWindow::SetCurrentItem(int id, int row)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        tree->setCurrentItem(RowOf(id, row), 0, QItemSelectionModel::NoUpdate);
    } else if (auto* list = As<QListWidget>(id)) {
        list->setCurrentRow(row);
    } else if (auto* combo = As<QComboBox>(id)) {
        combo->setCurrentIndex(row);
    }
}

int CQtWindow::CurrentItem(int id) const
{
    if (auto* tree = As<QTreeWidget>(id))
        return tree->currentItem() ? tree->indexOfTopLevelItem(tree->currentItem()) : -1;
    if (auto* list = As<QListWidget>(id))
        return list->currentRow();
    if (auto* combo = As<QComboBox>(id))
        return combo->currentIndex();
    return -1;
}

void CQtWindow::ReorderItems(int id, const std::vector<int>& order)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        const int count = tree->topLevelItemCount();
        if (static_cast<int>(order.size()) != count)
            return;
        QTreeWidgetItem* current = tree->currentItem();
        std::vector<QTreeWidgetItem*> items;
        std::vector<bool> selected;
        for (int i = 0; i < count; ++i) {
            items.push_back(tree->topLevelItem(i));
            selected.push_back(tree->topLevelItem(i)->isSelected());
        }
        for (int i = count - 1; i >= 0; --i)
            tree->takeTopLevelItem(i);
        for (int oldIndex : order) {
            if (oldIndex < 0 || oldIndex >= count)
                return;
            tree->addTopLevelItem(items[static_cast<std::size_t>(oldIndex)]);
        }
        for (int i = 0; i < count; ++i)
            items[static_cast<std::size_t>(i)]->setSelected(selected[static_cast<std::size_t>(i)]);
        if (current)
            tree->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    } else if (auto* list = As<QListWidget>(id)) {
        const int count = list->count();
        if (static_cast<int>(order.size()) != count)
            return;
        std::vector<QListWidgetItem*> items;
        for (int i = 0; i < count; ++i)
            items.push_back(list->item(i));
        for (int i = count - 1; i >= 0; --i)
            list->takeItem(i);
        for (int oldIndex : order)
            list->addItem(items[static_cast<std::size_t>(oldIndex)]);
    }
}

void CQtWindow::SetImageStrip(int id, int bitmapId)
{
    if (Control* control = Find(id))
        control->images = ImageStrip(bitmapId);
}

void CQtWindow::SetImageTexts(int id, const std::vector<std::string>& texts)
{
    Control* control = Find(id);
    auto* tree = As<QTreeWidget>(id);
    if (!control)
        return;
    control->imageTexts.clear();
    for (const std::string& text : texts)
        control->imageTexts << ToQt(text);
    if (!tree)
        return;
    CQuiet quiet(*this);
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        UpdateStateText(*control, *it);
}

// The words of the item's state icon, while it shows one.
void CQtWindow::UpdateStateText(const Control& control, QTreeWidgetItem* item) const
{
    const int icon = item->data(0, kIconRole).toInt();
    const bool shown = icon >= 0 && icon < control.images.size();
    const QString text = shown && icon < control.imageTexts.size() ? control.imageTexts[icon] : QString();
    if (item->data(0, kStateTextRole).toString() != text)
        item->setData(0, kStateTextRole, text.isEmpty() ? QVariant() : QVariant(text));
}

void CQtWindow::SetPictureText(int id, std::string_view text)
{
    if (Control* control = Find(id))
        control->widget->setAccessibleName(ToQt(text));
}

void CQtWindow::WatchKey(int id, Key key)
{
    if (Control* control = Find(id))
        control->watchedKeys.push_back(key);
}

// --- Trees.

QTreeWidgetItem* CQtWindow::TreeItemOf(int id, TreeItem item) const
{
    const Control* control = Find(id);
    auto* pointer = reinterpret_cast<QTreeWidgetItem*>(item);
    return control && control->treeItems.count(pointer) ? pointer : nullptr;
}

void CQtWindow::ClearTree(int id)
{
    CQuiet quiet(*this);
    if (auto* tree = As<QTreeWidget>(id)) {
        tree->clear();
        Find(id)->treeItems.clear();
    }
}

TreeItem CQtWindow::AddTreeItem(int id, TreeItem parent, std::string_view text, int image, ItemData data)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return 0;
    CQuiet quiet(*this);
    QTreeWidgetItem* parentItem = TreeItemOf(id, parent);
    auto* item = parentItem ? new CStateItem(parentItem) : new CStateItem(tree);
    item->setText(0, ToQt(text));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
    Find(id)->treeItems.insert(item);
    SetTreeItemImage(id, reinterpret_cast<TreeItem>(item), image);
    return reinterpret_cast<TreeItem>(item);
}

std::vector<TreeItem> CQtWindow::TreeChildren(int id, TreeItem parent) const
{
    std::vector<TreeItem> children;
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return children;
    QTreeWidgetItem* parentItem = parent ? TreeItemOf(id, parent) : tree->invisibleRootItem();
    if (!parentItem)
        return children;
    for (int i = 0; i < parentItem->childCount(); ++i)
        children.push_back(reinterpret_cast<TreeItem>(parentItem->child(i)));
    return children;
}

std::string CQtWindow::TreeItemText(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? FromQt(node->text(0)) : std::string();
}

ItemData CQtWindow::TreeItemData(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? static_cast<ItemData>(node->data(0, kDataRole).toLongLong()) : 0;
}

void CQtWindow::SetTreeItemImage(int id, TreeItem item, int image)
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    const Control* control = Find(id);
    if (!node || !control)
        return;
    node->setData(0, kIconRole, image);
    node->setIcon(0, image >= 0 && image < control->images.size() ? QIcon(control->images[image]) : QIcon());
    UpdateStateText(*control, node);
}

int CQtWindow::TreeItemImage(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node ? node->data(0, kIconRole).toInt() : -1;
}

void CQtWindow::ExpandTreeItem(int id, TreeItem item, bool expand)
{
    if (QTreeWidgetItem* node = TreeItemOf(id, item)) {
        CQuiet quiet(*this);
        node->setExpanded(expand);
    }
}

bool CQtWindow::IsTreeItemExpanded(int id, TreeItem item) const
{
    QTreeWidgetItem* node = TreeItemOf(id, item);
    return node && node->isExpanded();
}

void CQtWindow::SortTreeChildren(int id, TreeItem parent)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    QTreeWidgetItem* parentItem = parent ? TreeItemOf(id, parent) : tree->invisibleRootItem();
    if (!parentItem)
        return;
    CQuiet quiet(*this);
    QTreeWidgetItem* current = tree->currentItem();
    QList<QTreeWidgetItem*> children = parentItem->takeChildren();
    std::stable_sort(children.begin(), children.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return QString::compare(a->text(0), b->text(0), Qt::CaseInsensitive) < 0;
    });
    parentItem->addChildren(children);
    if (current)
        tree->setCurrentItem(current);
}

void CQtWindow::SelectTreeItem(int id, TreeItem item)
{
    auto* tree = As<QTreeWidget>(id);
    if (!tree)
        return;
    CQuiet quiet(*this);
    QTreeWidgetItem* node = TreeItemOf(id, item);
    tree->setCurrentItem(node);
    if (node)
        tree->scrollToItem(node);
}

TreeItem CQtWindow::SelectedTreeItem(int id) const
{
    auto* tree = As<QTreeWidget>(id);
    return tree ? reinterpret_cast<TreeItem>(tree->currentItem()) : 0;
}

// --- Progress bars and spin fields.

void CQtWindow::SetRange(int id, int low, int high)
{
    CQuiet quiet(*this);
    if (auto* bar = As<QProgressBar>(id))
        bar->setRange(low, high);
    else if (auto* spin = As<QSpinBox>(id))
        spin->setRange(low, high);
}

void CQtWindow::SetPosition(int id, int position)
{
    CQuiet quiet(*this);
    if (auto* bar = As<QProgressBar>(id))
        bar->setValue(position);
    else if (auto* spin = As<QSpinBox>(id))
        spin->setValue(position);
}

int CQtWindow::Position(int id) const
{
    if (auto* spin = As<QSpinBox>(id))
        return spin->value();
    auto* bar = As<QProgressBar>(id);
    return bar ? bar->value() : 0;
}

std::pair<int, int> CQtWindow::Range(int id) const
{
    if (auto* spin = As<QSpinBox>(id))
        return {spin->minimum(), spin->maximum()};
    auto* bar = As<QProgressBar>(id);
    return bar ? std::pair(bar->minimum(), bar->maximum()) : std::pair(0, 0);
}

IBrowser* CQtWindow::Browser(int id)
{
    Control* control = Find(id);
    return control ? control->browser.get() : nullptr;
}

IMediaPlayer* CQtWindow::MediaPlayer(int id)
{
    Control* control = Find(id);
    return control ? dynamic_cast<CMediaPlayerView*>(control->widget.data()) : nullptr;
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
