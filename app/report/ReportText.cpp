#include "app/report/ReportText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/report/ReportAssessment.h"
#include "core/Zone.h"
#include "ui/Controls.h"

namespace korrin::report {

namespace {

constexpr size_t kLabelWidth = 28;

class Writer {
 public:
  explicit Writer(const ControlBoard& board) : board_(board) {}

  void Heading(const std::string& title) {
    if (!out_.empty()) out_ += "\n";
    out_ += title + "\n";
  }
  void Line(const std::string& label, const std::string& value, int indent = 2) {
    std::string line(static_cast<size_t>(indent), ' ');
    line += label;
    if (value.empty()) {
      out_ += line + "\n";
      return;
    }
    const size_t width = kLabelWidth + 2;
    line += line.size() < width ? std::string(width - line.size(), ' ') : " ";
    out_ += line + value + "\n";
  }
  // The text of a control, blanks trimmed.
  std::string Text(const char* control) const { return Trimmed(board_.at(control).text); }
  // "a (b)", or "a" alone when b is empty.
  std::string With(const char* control, const char* extra) const {
    const std::string more = Text(extra);
    return more.empty() ? Text(control) : Text(control) + " (" + more + ")";
  }
  bool Visible(const char* control) const { return board_.at(control).visible; }
  std::string& Out() { return out_; }

 private:
  const ControlBoard& board_;
  std::string out_;
};

// The caption of a radio group's selected item, or "none".
std::string SelectedItem(const ControlBoard& board, const std::string& group) {
  const std::vector<std::string>& items = ControlNamed(group).items;
  const int i = board.at(group).itemIndex;
  if (i < 0 || static_cast<size_t>(i) >= items.size()) return "none";
  return Trimmed(items[static_cast<size_t>(i)]);
}

const char* OnOff(bool on) {
  return on ? "on" : "off";
}

void Transmitter(Writer& w, const ControlBoard& b, const StationState& s) {
  w.Heading("Transmitter");
  const bool vhf = b.at("RadioGroup1").visible;
  const std::string group = vhf ? "RadioGroup1" : "RadioGroup8";
  w.Line("Band group", Trimmed(ControlNamed(group).caption));
  w.Line("Band", SelectedItem(b, group));
  w.Line("Tx output power", w.Text("Panel16") + " / " + w.Text("Panel17"));
  w.Line("Feed and other losses", w.Text("Panel23"));
  w.Line("Ground reflection", OnOff(s.GroundReflection));
  w.Line("Power at the feed", w.Text("Panel20") + " / " + w.Text("Panel21"));
  w.Line("Six-minute average power", w.Text("Panel10") + " / " + w.Text("Panel11"));
  w.Line("Peak EIRP", w.Text("Panel18"));
  w.Line("Transmission mode", SelectedItem(b, "RadioGroup2"));
  w.Line("Form factor", w.Text("Panel30"));
  w.Line("Six-minute period", SelectedItem(b, "RadioGroup3"));
  w.Line("Six-minute average", w.Text("Panel50"));
  w.Line("Overall transmission factor", w.Text("Panel14"));
}

void Antenna(Writer& w, const ControlBoard& b, const StationState& s) {
  w.Heading("Antenna");
  const char* inUse = s.DishSelected      ? "parabolic dish"
                      : s.YagiSelected    ? "yagi array"
                      : s.LowGainSelected ? "low-gain antenna"
                                          : "none";
  w.Line("In use", inUse);
  w.Line("Units", w.Text("Button2"));
  // A family not in use shows its settings only: its beamwidths and gains
  // are worked out for the band in use as if it were, and belong to none.
  const auto family = [](const char* name, bool used) {
    return std::string(name) + (used ? " (in use)" : " (not in use)");
  };
  if (w.Visible("Panel2")) {
    w.Line(family("Parabolic dish", s.DishSelected), "");
    w.Line("Diameter", w.Text("Panel4"), 4);
    w.Line("Efficiency", w.Text("Panel7"), 4);
    if (s.DishSelected) {
      w.Line("Beamwidth", w.Text("Panel5"), 4);
      w.Line("Gain", w.Text("Panel6") + " / " + w.Text("Panel3"), 4);
      w.Line("Gain as a power ratio", w.Text("Panel34"), 4);
    }
  }
  if (w.Visible("Panel37")) {
    w.Line(family("Yagi array", s.YagiSelected), "");
    w.Line("Single yagi gain", w.Text("Panel38"), 4);
    w.Line("Stacked yagis", w.Text("Panel39"), 4);
    if (s.YagiSelected) {
      w.Line("Array gain", w.Text("Panel41") + " / " + w.Text("Panel42"), 4);
      w.Line("Beamwidth E / H", w.Text("Panel40") + " / " + w.Text("Panel43"), 4);
    }
  }
  if (w.Visible("Panel66")) {
    w.Line(family("Low-gain antenna", s.LowGainSelected), "");
    std::string chosen;
    for (const char* panel : {"Panel67", "Panel68", "Panel69", "Panel80"}) {
      if (b.at(panel).color != Colour::White) continue;
      chosen += (chosen.empty() ? "" : ", ") + w.Text(panel);
    }
    w.Line("Antenna", chosen.empty() ? "none" : chosen, 4);
    if (s.LowGainSelected) w.Line("Gain", w.Text("Panel81") + " / " + w.Text("Panel73"), 4);
  }
}

// The window shows no zone of a gain-only antenna under 1 m (1 ft in feet)
// and writes "No restriction"; the report says what that means, so that it
// does not stand against the assessment's keep-out distance.
std::string ZoneLine(const Writer& w, const StationState& s, bool assessed) {
  const ZoneShown zone = ExclusionZoneShown(s);
  const bool underOne =
      zone.first == ZoneShown::First::NoRestriction && !s.DishSelected && s.ExclusionDistanceM > 0;
  if (!underOne) return w.Text("Panel64");
  return std::string(s.MetricUnits ? "under 1 m" : "under 1 ft") +
         (assessed ? "; see the assessment" : "; --assess gives the keep-out distance");
}

void Exposure(Writer& w, const ControlBoard& b, const StationState& s, bool assessed) {
  w.Heading("Limit and exclusion zone");
  const std::pair<const char*, const char*> standards[] = {{"Panel75", "Label52"},
                                                           {"Panel77", "Label53"},
                                                           {"Panel78", "Label54"},
                                                           {"Panel79", "Label55"}};
  std::string standard;
  for (const auto& [panel, label] : standards) {
    if (b.at(panel).color == Colour::Green)
      standard += (standard.empty() ? "" : ", ") + w.Text(label);
  }
  w.Line("Standard", standard.empty() ? "none" : standard);
  w.Line("Limit", w.Text("Panel9") + " / " + w.Text("Label33"));
  w.Line("On-axis exclusion zone", ZoneLine(w, s, assessed));
  if (w.Visible("Panel63")) w.Line("Second range", w.Text("Panel63"));
  if (w.Visible("Panel47")) w.Line("Far-field boundary", w.Text("Panel47"));
  if (w.Visible("Panel49")) w.Line("Far-field power density", w.Text("Panel49"));
}

void Tower(Writer& w) {
  if (!w.Visible("Panel8")) return;
  w.Heading("Tower");
  w.Line("Tower height", w.Text("StaticText2"));
  w.Line("Zone clears the ground at", w.Text("StaticText1") + " from the tower");
}

void MoonBounce(Writer& w, const ControlBoard& b, const StationState& s) {
  if (!w.Visible("SystemPerformance")) return;
  w.Heading("Moon-bounce");
  w.Line("Frequency", w.Text("Panel32"));
  w.Line("Path loss", w.Text("Panel24") + (b.at("Panel24").fontColor == Colour::Green
                                               ? " (changed from the band's value)"
                                               : ""));
  w.Line("Sky temperature", w.Text("Panel31"));
  w.Line("Receiver bandwidth", w.Text("Panel29"));
  w.Line("Loss before the LNA", w.With("Panel28", "Panel65"));
  w.Line("LNA noise figure", w.With("Panel27", "Panel54"));
  w.Line("LNA gain", w.Text("Panel36"));
  w.Line("Loss from LNA to receiver", w.Text("Panel52"));
  w.Line("Receiver noise figure", w.Text("Panel53"));
  w.Line("Receiver", w.Text("Panel76"));
  w.Line("System", w.Text("Panel74"));
  w.Line("Ground spill-over", w.With("Panel55", "Panel71"));
  w.Line("Dish surface", s.SolidDish ? "solid" : "mesh");
  if (!s.SolidDish) {
    w.Line("Mesh wire diameter", w.Text("Panel57"));
    w.Line("Mesh wire spacing", w.Text("Panel70"));
  }
  w.Line("Mesh attenuation", w.Text("Panel35"));
  w.Line("Ground through the dish", w.With("Panel56", "Panel72"));
  w.Line("Solar flux", w.Text("Panel33"));
  w.Line("Increment multiplier", OnOff(s.IncrementMultiplier));
  w.Line("Noise power", w.Text("Panel26"));
  w.Line("Echo S/N", w.Text("Panel25"));
  w.Line("Sun Y-factor", w.Text("Panel58"));
  if (w.Visible("Panel22")) w.Line("Cold sky to ground Y-factor", w.Text("Panel22"));
}

void Messages(Writer& w, const HeadlessPlatform& platform, const TextReportNotes& notes) {
  w.Heading("Messages");
  if (platform.messages.empty() && notes.closedBy.empty()) w.Out() += "  none\n";
  for (const HeadlessPlatform::Message& m : platform.messages) {
    // Message lines are separated by carriage returns (or new lines).
    std::string text;
    for (size_t i = 0; i < m.text.size(); ++i) {
      const char c = m.text[i];
      if (c == '\r' && i + 1 < m.text.size() && m.text[i + 1] == '\n') continue;
      text += (c == '\r' || c == '\n') ? std::string("\n    ") : std::string(1, c);
    }
    // A question is listed with the answer it was given.
    if (!m.answer.empty()) text += " (answered " + m.answer + ")";
    w.Out() += std::string("  ") + MessageKindName(m.kind) + ": " + text + "\n";
  }
  if (!notes.closedBy.empty()) {
    w.Out() += "  The window was closed by " + notes.closedBy + ".\n";
    for (const std::string& action : notes.skipped) {
      w.Out() += "  Not applied after closing: " + action + "\n";
    }
  }
}

}  // namespace

size_t TextWidth(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string BandTableText(const BandTable& table, const NumberLocale& locale) {
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> head = {"Band",           "Frequency",          "Limit",
                                   "Gain in use",    "Far-field boundary", "Exclusion zone",
                                   "Tower clearance"};
  if (table.vhfShf) {
    head.push_back("Echo S/N");
    head.push_back("Sun Y-factor");
  }
  if (table.assessed) {
    for (const std::string& h : BandAssessmentHeadings()) head.push_back(h);
  }
  cells.push_back(head);
  for (const BandRow& r : table.rows) {
    std::vector<std::string> row = {r.band,          r.frequency,        r.limit,
                                    r.gainInUse,     r.farFieldBoundary, r.exclusionZone,
                                    r.towerClearance};
    if (table.vhfShf) {
      row.push_back(r.echoSnr);
      row.push_back(r.sunYFactor);
    }
    if (r.assessed) {
      for (std::string& c : BandAssessmentCells(*r.assessed, table.metric, locale)) {
        row.push_back(std::move(c));
      }
    }
    for (std::string& cell : row) cell = Trimmed(cell);
    cells.push_back(row);
  }
  std::vector<size_t> width(head.size(), 0);
  for (const auto& row : cells) {
    for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], TextWidth(row[c]));
  }
  std::string out;
  for (size_t r = 0; r < cells.size(); ++r) {
    std::string line = " ";
    for (size_t c = 0; c < cells[r].size(); ++c) {
      line += " " + cells[r][c];
      if (c + 1 < cells[r].size()) line += std::string(width[c] - TextWidth(cells[r][c]) + 1, ' ');
    }
    out += line + "\n";
    if (r == 0) {
      std::string rule = " ";
      for (size_t c = 0; c < width.size(); ++c) {
        rule.append(" ").append(width[c], '-').append(c + 1 < width.size() ? " " : "");
      }
      out += rule + "\n";
    }
  }
  // A band evaluated away from the figure it is named by (28.5 MHz, at the
  // band's upper edge) says so under the table.
  for (const BandRow& r : table.rows) {
    const std::string named = Trimmed(r.band);
    const std::string at = Trimmed(r.frequency);
    // Captions are written with a point; the frequency in `locale`.
    const auto mhz = [](std::string text, const NumberLocale& in) {
      const bool inMHz = text.size() > 4 && text.compare(text.size() - 4, 4, " MHz") == 0;
      if (!inMHz) return -1.0;
      std::string plain;
      for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, in.groupSeparator.size(), in.groupSeparator) == 0 &&
            !in.groupSeparator.empty()) {
          i += in.groupSeparator.size() - 1;
        } else if (text.compare(i, in.decimalPoint.size(), in.decimalPoint) == 0) {
          plain += '.';
          i += in.decimalPoint.size() - 1;
        } else {
          plain += text[i];
        }
      }
      double v = -1.0;  // not the C library's reader: it follows the user's locale
      std::from_chars(plain.data(), plain.data() + plain.size(), v);
      return v;
    };
    constexpr double kSameMHz = 1e-6;
    const double namedMHz = mhz(named, NumberLocale{});
    const double atMHz = mhz(at, locale);
    if (namedMHz > 0 && atMHz > 0 && std::fabs(namedMHz - atMHz) > kSameMHz) {
      out.append("  The ").append(named).append(" band is evaluated at ").append(at);
      out += ", the top of the band.\n";
    }
  }
  return out;
}

std::string TextReport(const TForm1& form, const HeadlessPlatform& platform,
                       const TextReportNotes& notes, const BandTable* bands,
                       const assess::Assessment* assessment, const MoonSection* moon) {
  const ControlBoard& b = form.Board();
  const StationState& s = form.State();
  Writer w(b);
  w.Out() = "Korrin station report (" + Trimmed(b.at("Panel44").text) + ")\n";
  Transmitter(w, b, s);
  Antenna(w, b, s);
  Exposure(w, b, s, assessment != nullptr);
  Tower(w);
  MoonBounce(w, b, s);
  if (bands != nullptr) {
    w.Heading(bands->vhfShf ? "All bands of the VHF - SHF group" : "All bands of the HF group");
    w.Out() += BandTableText(*bands, form.Locale());
  }
  if (assessment != nullptr) w.Out() += AssessmentText(*assessment, s, form.Locale());
  if (moon != nullptr) w.Out() += MoonText(*moon, form.Locale());
  Messages(w, platform, notes);
  return w.Out();
}

}  // namespace korrin::report
