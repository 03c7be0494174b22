#include "platform/richedit/ZoomDevice.h"

#include <QWidget>

namespace platform {

ZoomDevice::ZoomDevice(const QWidget& view, qreal zoom) : m_view(view), m_zoom(zoom) {}

int ZoomDevice::scaled(int dpi) const {
    return qMax(1, qRound(dpi * m_zoom));
}

int ZoomDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmDpiX:
        return scaled(m_view.logicalDpiX());
    case PdmDpiY:
        return scaled(m_view.logicalDpiY());
    case PdmPhysicalDpiX:
        return scaled(m_view.physicalDpiX());
    case PdmPhysicalDpiY:
        return scaled(m_view.physicalDpiY());
    case PdmWidth:
        return m_view.width();
    case PdmHeight:
        return m_view.height();
    case PdmWidthMM:
        return m_view.widthMM();
    case PdmHeightMM:
        return m_view.heightMM();
    case PdmNumColors:
        return m_view.colorCount();
    case PdmDepth:
        return m_view.depth();
    case PdmDevicePixelRatio:
        return qRound(m_view.devicePixelRatio());
    case PdmDevicePixelRatioScaled:
        return qRound(m_view.devicePixelRatio() * devicePixelRatioFScale());
    }
    return 0;
}

} // namespace platform
