#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

namespace kontaro::gui {

// Flat horizontal bars without axes, legend or labels, as the previous-years window shows its
// balances; negative values grow to the left of the zero line.
class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);
    void setBars(const std::vector<double>& values, const QColor& color);
    QSize sizeHint() const override { return {220, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> m_values;
    QColor m_color = Qt::red;
};

} // namespace kontaro::gui
