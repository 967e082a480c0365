#include "gui/bar_chart.h"

#include <QGraphicsLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>
#include <QtCharts/QValueAxis>
#include <algorithm>

namespace kontaro::gui {

BarChart::BarChart(QWidget* parent)
    : QChartView(parent)
    , m_series(new QHorizontalBarSeries)
    , m_set(new QBarSet(QString()))
    , m_scale(new QValueAxis)
    , m_slots(new QBarCategoryAxis) {
    setMinimumSize(160, 120);
    setRenderHint(QPainter::Antialiasing, false);
    m_set->setBorderColor(Qt::transparent);
    m_series->append(m_set);
    m_series->setLabelsVisible(false);
    m_series->setBarWidth(0.7);

    auto* chart = new QChart;
    chart->addSeries(m_series);
    // The series is drawn only against axes; they stay hidden, the chart shows bars alone.
    chart->addAxis(m_slots, Qt::AlignLeft);
    chart->addAxis(m_scale, Qt::AlignBottom);
    m_series->attachAxis(m_slots);
    m_series->attachAxis(m_scale);
    m_slots->setVisible(false);
    m_scale->setVisible(false);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    setChart(chart);
}

void BarChart::setBars(const std::vector<double>& values, const QColor& color) {
    if (values == m_values && color == m_set->color())
        return;
    m_values = values;
    m_set->setColor(color);
    // A horizontal bar series runs from the bottom up: the values go in reversed, so the first
    // one is the top bar.
    QList<qreal> reversed;
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        reversed << *it;
    m_set->remove(0, m_set->count());
    m_set->append(reversed);
    // One slot per bar: a category axis places only the bars it has names for.
    QStringList names;
    for (std::size_t i = 0; i < values.size(); ++i)
        names << QString::number(i);
    m_slots->setCategories(names);
    // The zero line always shows; bars of either sign grow away from it.
    double low = 0;
    double high = 0;
    for (double v : values) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
    if (high <= low)
        high = low + 1;
    m_scale->setRange(low, high);
}

std::vector<double> BarChart::bars() const {
    std::vector<double> top;
    for (int i = m_set->count() - 1; i >= 0; --i)
        top.push_back(m_set->at(i));
    return top;
}

} // namespace kontaro::gui
