// The views of their own kind a template may hold: the browser, the media
// player, the table grid, the map of areas and the colour sample.

#include "qt_window.h"
#include "qt_window_p.h"

#include "qt_browser.h"
#include "widgets/colour_sample_view.h"
#include "widgets/map_area_view.h"
#include "widgets/media_player_view.h"
#include "widgets/table_grid_view.h"

#include <QTextBrowser>

namespace orvane::platform::qt {

void CQtWindow::BindView(int id, Control& control)
{
    QWidget* widget = control.widget;
    switch (control.kind) {
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

} // namespace orvane::platform::qt
