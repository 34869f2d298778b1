#pragma once

#include "platform/window.h"

#include <QWidget>

namespace orvane::platform::qt {

// A colour swatch, or a sample of texts drawn in their colours on a ground
// colour. A colour that is not set is drawn as yellow with a hatching and a
// question mark, so it is never read as a chosen colour; what the sample
// shows is also given as its accessible description. Templates name it by
// its class, kClassName.
class CColourSampleView final : public QWidget {
public:
    static constexpr const char* kClassName = "OrvaneColourSample";

    explicit CColourSampleView(QWidget* parent = nullptr);

    void SetSample(ColourSample sample);
    const ColourSample& Sample() const { return m_sample; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont SampleFont() const;

    ColourSample m_sample;
};

} // namespace orvane::platform::qt
