#include "gui/bar_chart.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace kontaro::gui {

BarChart::BarChart(QWidget* parent)
    : QWidget(parent) {
    setMinimumSize(160, 120);
}

void BarChart::setBars(const std::vector<double>& values, const QColor& color) {
    if (values == m_values && color == m_color)
        return;
    m_values = values;
    m_color = color;
    update();
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (m_values.empty())
        return;
    double low = 0;
    double high = 0;
    for (double v : m_values) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    const double span = high - low > 0 ? high - low : 1;
    const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
    const double zero = area.left() + (-low / span) * area.width();
    const double slot = area.height() / double(m_values.size());
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        const double x = area.left() + ((m_values[i] - low) / span) * area.width();
        const QRectF bar(std::min(zero, x), area.top() + slot * double(i) + slot * 0.15, std::abs(x - zero),
                         slot * 0.7);
        p.fillRect(bar, m_color);
    }
}

} // namespace kontaro::gui
