// The moon-bounce plan as a table of text: the report's columns (the other
// station's only with one), one row per time of the plan, figures with a
// point whatever the locale, and CSV that the data tables' reader reads
// back cell for cell.
#include <gtest/gtest.h>

#include <string>

#include "io/Csv.h"
#include "moon/PlanTable.h"

namespace korrin::moon {
namespace {

Evaluation Planned(bool dx) {
  Evaluation e;
  e.request.dx = dx ? std::optional<Place>(Place{}) : std::nullopt;
  for (int k = 0; k < 3; ++k) {
    Row row;
    row.time = 1796601600 + 600 * k;  // 2026-12-07 00:00 UTC on
    row.home.azimuthDeg = 278.74 + k;
    row.home.elevationDeg = -47.94;
    row.home.distanceKm = 405293.4;
    row.pathLossDb = 262.561;
    row.degradationDb = 2.5349;
    row.dopplerHz = -746.2;
    if (dx) {
      row.dx = Sighting{};
      row.dx->azimuthDeg = 58.31;
      row.dx->elevationDeg = -0.04;  // rounds to 0.0, not -0.0
      row.dxDopplerHz = -207.4;
    }
    row.mutual = k == 2;
    e.plan.rows.push_back(row);
    e.echoSnDb.push_back(16.34);
  }
  return e;
}

TEST(MoonPlanTableTest, TheReportsColumnsAndFigures) {
  const struct {
    bool dx;
    std::vector<std::string> header;
    std::vector<std::string> first;
  } cases[] = {
      {false,
       {"Time (UTC)", "Az \u00b0", "El \u00b0", "Distance km", "Path loss dB", "Degr. dB",
        "Doppler Hz", "Mutual", "Echo S/N dB"},
       {"2026-12-07 00:00", "278.7", "-47.9", "405293", "262.56", "2.53", "-746", "no", "16.3"}},
      {true,
       {"Time (UTC)", "Az \u00b0", "El \u00b0", "DX Az \u00b0", "DX El \u00b0", "Distance km",
        "Path loss dB", "Degr. dB", "Doppler Hz", "DX Doppler Hz", "Mutual", "Echo S/N dB"},
       {"2026-12-07 00:00", "278.7", "-47.9", "58.3", "0.0", "405293", "262.56", "2.53", "-746",
        "-207", "no", "16.3"}},
  };
  for (const auto& c : cases) {
    const PlanTable t = TableOf(Planned(c.dx));
    EXPECT_EQ(t.header, c.header) << c.dx;
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], c.first) << c.dx;
    EXPECT_EQ(t.rows[2].front(), "2026-12-07 00:20");
    EXPECT_EQ(t.rows[2][t.header.size() - 2], "yes");
  }
}

TEST(MoonPlanTableTest, TheCsvReadsBackCellForCell) {
  PlanTable t = TableOf(Planned(true));
  t.rows[1][0] = "a \"quoted\", odd cell";
  const CsvTable read = ParseCsv(CsvOf(t));
  EXPECT_TRUE(read.problems.empty());
  EXPECT_EQ(read.columns, t.header);
  EXPECT_EQ(read.rows, t.rows);
  // Tabs for the clipboard: the header and the rows asked for.
  EXPECT_EQ(TabbedOf(t, {2}),
            "Time (UTC)\tAz \u00b0\tEl \u00b0\tDX Az \u00b0\tDX El \u00b0\t"
            "Distance km\tPath loss dB\tDegr. dB\tDoppler Hz\tDX Doppler Hz\t"
            "Mutual\tEcho S/N dB\n"
            "2026-12-07 00:20\t280.7\t-47.9\t58.3\t0.0\t405293\t262.56\t2.53\t"
            "-746\t-207\tyes\t16.3\n");
}

}  // namespace
}  // namespace korrin::moon
