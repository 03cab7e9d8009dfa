// The data tables' CSV reader: what each row holds, which line it came
// from, and the problems a damaged table shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/Csv.h"

namespace korrin {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct CsvCase {
  const char* name;
  const char* text;
  std::vector<std::string> columns;
  Rows rows;
  std::vector<int> lines;
  std::vector<std::string> problems;
};

class CsvReadTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReadTest, RowsLinesAndProblems) {
  const CsvCase& c = GetParam();
  const CsvTable t = ParseCsv(c.text);
  EXPECT_EQ(t.columns, c.columns) << c.name;
  EXPECT_EQ(t.rows, c.rows) << c.name;
  EXPECT_EQ(t.lines, c.lines) << c.name;
  EXPECT_EQ(t.problems, c.problems) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvReadTest,
    ::testing::Values(
        CsvCase{"comments and blank lines are skipped and counted",
                "# a note\nsource,value\n\n  \t\n# another\nrule,3\n",
                {"source", "value"},
                {{"rule", "3"}},
                {6},
                {}},
        CsvCase{"a quoted field keeps commas and doubled quotes",
                "source,note\n\"47 CFR, Table 1\",\"the \"\"general\"\" tier\"\n",
                {"source", "note"},
                {{"47 CFR, Table 1", "the \"general\" tier"}},
                {2},
                {}},
        CsvCase{"a quote inside an unquoted field is kept as written",
                "a,b\n5\" mast,x\n",
                {"a", "b"},
                {{"5\" mast", "x"}},
                {2},
                {}},
        CsvCase{"a quoted line end moves the next row's line on",
                "a,b\n\"one\ntwo\",1\nthree,2\n",
                {"a", "b"},
                {{"one\ntwo", "1"}, {"three", "2"}},
                {2, 4},
                {}},
        CsvCase{"carriage returns and a last line without its end",
                "a,b\r\nx,\r\ny,z",
                {"a", "b"},
                {{"x", ""}, {"y", "z"}},
                {2, 3},
                {}},
        CsvCase{"a row of another width is left out with its line",
                "a,b,c\n1,2,3\n1,2\n4,5,6\n",
                {"a", "b", "c"},
                {{"1", "2", "3"}, {"4", "5", "6"}},
                {2, 4},
                {"line 3: 2 fields, the header has 3"}},
        CsvCase{"an unclosed quote ends the reading",
                "a,b\n1,2\n\"open,3\n4,5\n",
                {"a", "b"},
                {{"1", "2"}},
                {2},
                {"line 3: a quoted field is not closed"}},
        CsvCase{"only comments: no header", "# nothing here\n\n", {}, {}, {}, {"no header line"}}),
    [](const ::testing::TestParamInfo<CsvCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(CsvColumnTest, FindsColumnsByExactName) {
  const CsvTable t = ParseCsv("source,e-v-per-m,h-a-per-m\n");
  EXPECT_EQ(t.Column("source"), 0);
  EXPECT_EQ(t.Column("h-a-per-m"), 2);
  EXPECT_EQ(t.Column("e-v-per"), -1);
  EXPECT_EQ(t.Column(""), -1);
}

}  // namespace
}  // namespace korrin
