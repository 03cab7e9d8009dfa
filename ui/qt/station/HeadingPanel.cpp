#include "ui/qt/station/HeadingPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "station/Rules.h"
#include "ui/qt/station/StationDocument.h"

namespace korrin {

namespace su = stationui;
using station::LimitSetChoice;

namespace {

QLineEdit* Field(const QString& name, const QString& placeholder, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setPlaceholderText(placeholder);
  return edit;
}

bool Has(const std::vector<LimitSetChoice>& sets, LimitSetChoice set) {
  return std::find(sets.begin(), sets.end(), set) != sets.end();
}

}  // namespace

HeadingPanel::HeadingPanel(StationDocument& document, QWidget* parent)
    : QGroupBox(tr("Station"), parent), document_(document) {
  setObjectName("heading");
  auto* form = new QGridLayout(this);
  callsign_ = Field("callsign", tr("as licensed"), this);
  site_ = Field("site", tr("address or grid locator"), this);
  evaluatedBy_ = Field("evaluatedBy", tr("the person who made the evaluation"), this);
  region_ = new QComboBox(this);
  region_->setObjectName("region");
  region_->addItem(tr("1: Europe, Africa"), 1);
  region_->addItem(tr("2: the Americas"), 2);
  region_->addItem(tr("3: Asia-Pacific"), 3);
  region_->setToolTip(tr("The ITU region whose band edges apply"));
  fcc_ = new QCheckBox(tr("FCC (2021)"), this);
  fcc_->setToolTip(tr("FCC 47 CFR 1.1310 (2021), both tiers"));
  fcc_->setObjectName("fcc");
  icnirp_ = new QCheckBox(tr("ICNIRP 2020"), this);
  icnirp_->setToolTip(tr("ICNIRP 2020 (ARPANSA RPS S-1, 2021), both tiers"));
  icnirp_->setObjectName("icnirp");
  icnirp1998_ = new QCheckBox(tr("ICNIRP 1998"), this);
  icnirp1998_->setToolTip(tr("ICNIRP 1998 (1999/519/EC, 26. BImSchV), both tiers"));
  icnirp1998_->setObjectName("icnirp1998");
  sc6_ = new QCheckBox(tr("Safety Code 6"), this);
  sc6_->setToolTip(tr("Health Canada Safety Code 6 (2015), both environments"));
  sc6_->setObjectName("sc6");
  country_ = new QComboBox(this);
  country_->setObjectName("country");
  country_->addItem(tr("none named"), QString());
  for (const station::CountryRow& c : station::Countries()) {
    country_->addItem(QString::fromStdString(c.code + ": " + c.name),
                      QString::fromStdString(c.code));
  }
  country_->setToolTip(
      tr("The country whose rules apply: it sets the region, the limit sets and the "
         "threshold test, which you may still change"));
  auto* sets = new QWidget(this);
  // Two sets a row, so that the heading stays as narrow as the tables.
  auto* setsLayout = new QGridLayout(sets);
  setsLayout->setContentsMargins(0, 0, 0, 0);
  setsLayout->addWidget(fcc_, 0, 0);
  setsLayout->addWidget(icnirp_, 0, 1);
  setsLayout->addWidget(icnirp1998_, 1, 0);
  setsLayout->addWidget(sc6_, 1, 1);
  setsLayout->setColumnStretch(2, 1);
  ground_ = new QComboBox(this);
  ground_->setObjectName("groundReflection");
  ground_->addItem(tr("not stated: counted"));
  ground_->addItem(tr("counted"));
  ground_->addItem(tr("not counted"));
  ground_->setToolTip(
      tr("Whether the ground's reflection is counted (OET 65 factor 2.56) for "
         "every installation that does not say otherwise"));

  // Two pairs of label and field a row: the heading takes little height.
  auto pair = [this, form](int row, int column, const QString& label, QWidget* field) {
    auto* caption = new QLabel(label, this);
    caption->setBuddy(field);
    form->addWidget(caption, row, column * 2);
    form->addWidget(field, row, column * 2 + 1);
  };
  pair(0, 0, tr("&Call sign:"), callsign_);
  pair(0, 1, tr("S&ite:"), site_);
  pair(1, 0, tr("Evaluated &by:"), evaluatedBy_);
  pair(1, 1, tr("ITU &region:"), region_);
  pair(2, 0, tr("&Ground reflection:"), ground_);
  pair(2, 1, tr("Limit sets:"), sets);
  pair(3, 0, tr("C&ountry:"), country_);
  form->setColumnStretch(1, 1);
  form->setColumnStretch(3, 1);
  callsign_->setAccessibleName(tr("Call sign"));
  site_->setAccessibleName(tr("Site"));
  evaluatedBy_->setAccessibleName(tr("Evaluated by"));
  region_->setAccessibleName(tr("ITU region"));
  fcc_->setAccessibleName(tr("FCC limits"));
  icnirp_->setAccessibleName(tr("ICNIRP 2020 limits"));
  icnirp1998_->setAccessibleName(tr("ICNIRP 1998 limits"));
  sc6_->setAccessibleName(tr("Safety Code 6 limits"));
  country_->setAccessibleName(tr("Country whose rules apply"));
  ground_->setAccessibleName(tr("Ground reflection unless an installation says otherwise"));

  auto text = [this](QLineEdit* edit, std::string su::Heading::*field) {
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
      if (showing_ || !edit->isModified()) return;
      edit->setModified(false);
      su::Heading h = su::HeadingOf(document_.Station());
      h.*field = edit->text().toStdString();
      Commit(h);
    });
  };
  text(callsign_, &su::Heading::callsign);
  text(site_, &su::Heading::site);
  text(evaluatedBy_, &su::Heading::evaluatedBy);
  connect(region_, &QComboBox::activated, this, [this] {
    su::Heading h = su::HeadingOf(document_.Station());
    h.region = region_->currentData().toInt();
    Commit(h);
  });
  auto setToggle = [this](QCheckBox* box, LimitSetChoice set) {
    connect(box, &QCheckBox::clicked, this, [this, set](bool on) {
      su::Heading h = su::HeadingOf(document_.Station());
      auto& sets = h.limitSets;
      if (on && !Has(sets, set)) {
        // The file's order: FCC before ICNIRP.
        sets.insert(set == LimitSetChoice::Fcc ? sets.begin() : sets.end(), set);
      }
      if (!on) sets.erase(std::remove(sets.begin(), sets.end(), set), sets.end());
      Commit(h);
    });
  };
  setToggle(fcc_, LimitSetChoice::Fcc);
  setToggle(icnirp_, LimitSetChoice::Icnirp2020);
  setToggle(icnirp1998_, LimitSetChoice::Icnirp1998);
  setToggle(sc6_, LimitSetChoice::Sc6);
  connect(country_, &QComboBox::activated, this, [this] {
    const QString code = country_->currentData().toString();
    Commit(su::WithCountry(
        su::HeadingOf(document_.Station()),
        code.isEmpty() ? std::nullopt : std::optional<std::string>(code.toStdString())));
  });
  connect(ground_, &QComboBox::activated, this, [this](int item) {
    su::Heading h = su::HeadingOf(document_.Station());
    h.groundReflection = item == 0 ? std::nullopt : std::optional<bool>(item == 1);
    Commit(h);
  });
  connect(&document_, &StationDocument::changed, this, &HeadingPanel::Show);
  Show();
}

void HeadingPanel::Commit(const su::Heading& wanted) {
  su::Outcome outcome = su::EditHeading(document_.Station(), wanted);
  if (outcome.Refused()) {
    emit refused(QString::fromStdString(outcome.refusal));
    Show();
    return;
  }
  if (outcome.edit) document_.Push(std::move(*outcome.edit));
  emit accepted();
}

void HeadingPanel::Show() {
  showing_ = true;
  const station::Station& s = document_.Station();
  auto set = [](QLineEdit* edit, const std::string& value) {
    const QString text = QString::fromStdString(value);
    if (edit->text() != text && !(edit->hasFocus() && edit->isModified())) edit->setText(text);
  };
  set(callsign_, s.callsign);
  set(site_, s.site);
  set(evaluatedBy_, s.evaluatedBy);
  region_->setCurrentIndex(region_->findData(s.region));
  fcc_->setChecked(Has(s.limitSets, LimitSetChoice::Fcc));
  icnirp_->setChecked(Has(s.limitSets, LimitSetChoice::Icnirp2020));
  icnirp1998_->setChecked(Has(s.limitSets, LimitSetChoice::Icnirp1998));
  sc6_->setChecked(Has(s.limitSets, LimitSetChoice::Sc6));
  country_->setCurrentIndex(
      std::max(0, country_->findData(QString::fromStdString(s.country.value_or("")))));
  ground_->setCurrentIndex(!s.groundReflection ? 0 : (*s.groundReflection ? 1 : 2));
  showing_ = false;
}

}  // namespace korrin
