#pragma once
// A paint device that measures like a view at a scaled resolution. Text laid
// out for it is the view's text with every size scaled, also the sizes runs
// give themselves, while the document keeps the sizes as they were given.

#include <QPaintDevice>

class QWidget;

namespace platform {

class ZoomDevice : public QPaintDevice {
public:
    ZoomDevice(const QWidget& view, qreal zoom);
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int scaled(int dpi) const;

    const QWidget& m_view;
    qreal m_zoom;
};

} // namespace platform
