#include "ui/qt/assessment/PlotLayout.h"

#include <algorithm>

namespace korrin {

namespace {

// The most labels whose places are chosen among all arrangements; more are
// stacked one after the other, each on the right of its leader.
constexpr std::size_t kMostArranged = 4;

bool Overlap(const LabelSpan& a, const LabelSpan& b, double gap) {
  return a.row == b.row && a.left < b.right + gap && b.left < a.right + gap;
}

bool Under(const LabelSpan& label, double x) {
  return x >= label.left && x <= label.right;
}

}  // namespace

bool LeaderThrough(const LabelSpan& other, const LabelSpan& label) {
  if (!Under(label, other.anchor)) return false;
  // The leader runs down from its own label: through every lower row, and
  // through its own row where it starts at the row's top.
  return other.row > label.row || (other.row == label.row && !Under(other, other.anchor));
}

std::vector<LabelSpan> PlaceLabels(const std::vector<double>& widths,
                                   const std::vector<double>& anchors, double from, double to,
                                   double leaderGap, double gap) {
  const std::size_t n = std::min(widths.size(), anchors.size());
  // Each label's text on the right of its leader, or on its left, kept in
  // [from, to].
  const auto beside = [&](std::size_t i, bool right) {
    double left = right ? anchors[i] + leaderGap : anchors[i] - leaderGap - widths[i];
    left = std::max(from, std::min(left, to - widths[i]));
    return LabelSpan{left, left + widths[i], anchors[i], 0};
  };
  std::vector<LabelSpan> best;
  best.reserve(n);
  for (std::size_t i = 0; i < n; ++i) best.push_back(beside(i, true));
  if (n > kMostArranged) {
    // Too many to weigh every arrangement: each in the lowest free row.
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (Overlap(best[i], best[j], gap)) {
          ++best[i].row;
          j = static_cast<std::size_t>(-1);  // check every earlier label again
        }
      }
    }
    return best;
  }
  // The arrangements (a side and a row for each label), label by label,
  // leaving out those that cannot beat the best found: the fewest leaders
  // through labels, then the fewest rows, then the fewest labels pushed off
  // their leaders by the edges, then the most on the right.
  constexpr double kThrough = 1000;
  constexpr double kRow = 100;
  constexpr double kPushed = 10;
  constexpr double kOnTheLeft = 1;
  std::vector<LabelSpan> spans(n);
  double bestCost = -1;
  const auto arrange = [&](const auto& self, std::size_t i, int rows, double cost) -> void {
    if (bestCost >= 0 && cost + rows * kRow >= bestCost) return;
    if (i == n) {
      bestCost = cost + rows * kRow;
      best = spans;
      return;
    }
    for (const bool right : {true, false}) {
      LabelSpan span = beside(i, right);
      const double own = (Under(span, anchors[i]) ? kPushed : 0) + (right ? 0 : kOnTheLeft);
      for (int row = 0; row < static_cast<int>(n); ++row) {
        span.row = row;
        bool fits = true;
        int through = 0;
        for (std::size_t j = 0; j < i && fits; ++j) {
          fits = !Overlap(span, spans[j], gap);
          through +=
              (LeaderThrough(span, spans[j]) ? 1 : 0) + (LeaderThrough(spans[j], span) ? 1 : 0);
        }
        if (!fits) continue;
        spans[i] = span;
        self(self, i + 1, std::max(rows, row + 1), cost + own + through * kThrough);
      }
    }
  };
  arrange(arrange, 0, 0, 0);
  return best;
}

std::vector<int> WrapRows(const std::vector<double>& widths, double room) {
  std::vector<int> rows;
  rows.reserve(widths.size());
  int row = 0;
  double x = 0;
  for (double w : widths) {
    if (x > 0 && x + w > room) {
      ++row;
      x = 0;
    }
    rows.push_back(row);
    x += w;
  }
  return rows;
}

TurnDashes DashesTakingTurns(std::size_t index, std::size_t count, double dashPx) {
  if (count < 2) return {};
  const double period = dashPx * static_cast<double>(count);
  TurnDashes d;
  d.dashPx = dashPx;
  d.gapPx = period - dashPx;
  // The pattern starts `offset` into itself: the index-th line's first dash
  // begins index dashes along.
  d.offsetPx = period - dashPx * static_cast<double>(index % count);
  if (d.offsetPx >= period) d.offsetPx -= period;
  return d;
}

}  // namespace korrin
