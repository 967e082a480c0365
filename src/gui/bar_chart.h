#pragma once

#include <QColor>
#include <QtCharts/QChartView>
#include <vector>

class QBarSet;
class QHorizontalBarSeries;
class QValueAxis;
class QBarCategoryAxis;

namespace kontaro::gui {

// Flat horizontal bars in one colour, without axes, legend, title or labels, as the previous-years
// window shows its balances. The first value is drawn at the top (the current year above the years
// before it); negative values grow to the left of the zero line.
class BarChart : public QChartView {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);
    void setBars(const std::vector<double>& values, const QColor& color);
    QSize sizeHint() const override { return {220, 160}; }

    // The bars as the chart holds them, top first.
    std::vector<double> bars() const;
    QHorizontalBarSeries* series() const { return m_series; }

private:
    QHorizontalBarSeries* m_series;
    QBarSet* m_set;
    QValueAxis* m_scale;
    QBarCategoryAxis* m_slots;
    std::vector<double> m_values;
};

} // namespace kontaro::gui
