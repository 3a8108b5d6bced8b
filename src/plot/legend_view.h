#pragma once

#include <QWidget>

#include "plot/figure_legend.h"

namespace brevandor::plot {

// A figure's legend beside its plot in a window: the run names wrapped to the widget's width.
class LegendView : public QWidget {
 public:
  explicit LegendView(QWidget* parent = nullptr);

  void setLegend(FigureLegend legend);
  const FigureLegend& legend() const { return legend_; }

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FigureLegend legend_;
};

}  // namespace brevandor::plot
