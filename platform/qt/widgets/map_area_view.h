#pragma once

#include "platform/map_outline.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <vector>

namespace orvane::platform::qt {

// The image of an image map with the outline of each of its areas drawn
// over it; the current area's outline is drawn thicker, so the user sees
// which area a row of the list beside it stands for. The outlines are dark
// with a light halo, visible on light and dark images alike. Templates name
// it by its class, kClassName.
class CMapAreaView final : public QWidget {
public:
    static constexpr const char* kClassName = "OrvaneMapAreaView";

    explicit CMapAreaView(QWidget* parent = nullptr);

    // The image file (empty or unreadable: the outlines are drawn on a plain
    // ground as large as they reach) and the areas, as the rows give them.
    void SetAreas(const QString& imagePath, std::vector<MapOutline> areas);
    // -1 for none.
    void SetCurrent(int index);
    int Current() const { return m_current; }
    int AreaCount() const { return static_cast<int>(m_areas.size()); }
    bool HasImage() const { return !m_image.isNull(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The size of what is drawn, in the image's pixels.
    QSize CanvasSize() const;
    void UpdateAccessibleTexts();

    QImage m_image;
    bool m_imageNamed = false;
    std::vector<MapOutline> m_areas;
    QSize m_extent;  // how far the outlines reach
    int m_current = -1;
};

} // namespace orvane::platform::qt
