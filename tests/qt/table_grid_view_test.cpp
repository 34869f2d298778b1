// The table header page's grid in a real window on the offscreen platform:
// moved through by the arrow keys, header cells asked for with Space and its
// modifiers, and what a screen reader hears of each cell.
#include "platform/qt/qt_window.h"
#include "platform/qt/widgets/table_grid_view.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::platform::qt {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Marks what it is asked to, as the header page does.
class CMarkingLogic final : public IDialogLogic {
public:
    void OnInit(IWindow&) override {}
    void OnNotify(IWindow& window, const Notification& notification) override
    {
        heard.push_back(notification);
        if (notification.code == NotifyCode::KeyPressed && notification.column == static_cast<int>(GridScope::Cell)) {
            marked = !marked;
            GridControls(&window)->SetGridCellHeader(1030, notification.item, marked);
        }
    }
    std::vector<Notification> heard;
    bool marked = false;
};

TEST(TableGridView, ArrowsMoveSpaceAsksForHeadersAndAScreenReaderHearsRowColumnAndHeader)
{
    QByteArray text = ReadAll(QString(ORVANE_RESOURCES_DIR) + "/templates/163.ui");
    text.replace("<widget class=\"QWidget\" name=\"t163\">", "<widget class=\"QDialog\" name=\"t163\">");
    const TemplateInfo info = *ParseTemplate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    QWidget* widget = LoadTemplateWidget(text, nullptr);
    CMarkingLogic logic;
    auto window = std::make_unique<CQtWindow>(163, info, widget, logic, nullptr);
    widget->resize(700, 480);
    widget->show();
    auto* grid = widget->findChild<CTableGridView*>("c1030");
    ASSERT_NE(grid, nullptr) << "the template names the grid by its class";

    // Two rows of three places: the harbour's name spans two columns.
    GridContent content{.rows = 2,
                        .columns = 3,
                        .cells = {{.row = 0, .column = 0, .columnSpan = 2, .text = "Harbour", .header = true},
                                  {.row = 0, .column = 2, .text = "Departs"},
                                  {.row = 1, .column = 0, .text = "North"},
                                  {.row = 1, .column = 1, .text = "Pier"},
                                  {.row = 1, .column = 2, .text = "06:15"}},
                        .placeFormat = "Row %1, column %2",
                        .headerWord = "header"};
    IGridControls& grids = *GridControls(window.get());
    grids.SetGridContent(1030, content);
    grids.SetCurrentGridCell(1030, 0);
    grid->setFocus();
    ASSERT_EQ(grids.CurrentGridCell(1030), 0);

    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grids.CurrentGridCell(1030), 1) << "the spanning cell is left in one step";
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grids.CurrentGridCell(1030), 4);
    ASSERT_FALSE(logic.heard.empty());
    EXPECT_EQ(logic.heard.back().code, NotifyCode::SelectionChanged);
    EXPECT_EQ(logic.heard.back().item, 4);

    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(logic.heard.back().code, NotifyCode::KeyPressed);
    EXPECT_EQ(logic.heard.back().item, 4);
    EXPECT_EQ(logic.heard.back().column, static_cast<int>(GridScope::Cell));
    EXPECT_TRUE(grid->IsHeader(4));
    QTest::keyClick(grid, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(logic.heard.back().column, static_cast<int>(GridScope::Row));
    QTest::keyClick(grid, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(logic.heard.back().column, static_cast<int>(GridScope::Column));

    // The accessible table: rows, columns, and each cell's place and state in words.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Cells of the table");
    QAccessibleTableInterface* table = accessible->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnCount(), 3);
    QAccessibleInterface* harbour = table->cellAt(0, 0);
    ASSERT_NE(harbour, nullptr);
    EXPECT_EQ(harbour->text(QAccessible::Name), "Row 1, column 1: Harbour, header");
    QAccessibleInterface* time = table->cellAt(1, 2);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->text(QAccessible::Name), "Row 2, column 3: 06:15, header");
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), "Row 2, column 2: Pier");
    grids.SetGridCellDescription(1030, 3, "Headers: Harbour");
    EXPECT_EQ(table->cellAt(1, 1)->text(QAccessible::Name), "Row 2, column 2: Pier, Headers: Harbour");
    window.reset();
}

// A place is as wide as its words need, up to a limit: a long header is
// shown whole, the columns a spanning one covers share what it lacks, and a
// text without end does not push the rest of the table out of sight.
TEST(TableGridView, ColumnsAreAsWideAsTheirTextsUpToALimit)
{
    CTableGridView grid;
    const std::string longText = "Northport ferry terminal, pier 2";
    grid.SetContent({.rows = 2,
                     .columns = 3,
                     .cells = {{.row = 0, .column = 0, .text = longText, .header = true},
                               {.row = 0, .column = 1, .columnSpan = 2, .text = "Adults travelling on weekdays", .header = true},
                               {.row = 1, .column = 0, .text = "1"},
                               {.row = 1, .column = 1, .text = "2"},
                               {.row = 1, .column = 2, .text = std::string(400, 'x')}},
                     .placeFormat = "Row %1, column %2",
                     .headerWord = "header"});
    QFont bold = grid.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    EXPECT_GE(grid.columnWidth(0), metrics.horizontalAdvance(QString::fromStdString(longText)));
    EXPECT_GE(grid.columnWidth(1) + grid.columnWidth(2), metrics.horizontalAdvance("Adults travelling on weekdays"));
    EXPECT_LE(grid.columnWidth(2), 240);
}

} // namespace
} // namespace orvane::platform::qt
