#include "app/cabinet_accessible.h"

#include <QAccessible>
#include <QPointer>
#include <QRegularExpression>
#include <QStringList>
#include <array>
#include <functional>
#include <utility>

#include "app/cabinet_view.h"
#include "engine/reels.h"
#include "platform/accessible_part.h"
#include "screen/layout.h"
#include "shell/web_page.h"
#include "windows/bonus_game.h"
#include "windows/bonus_game_accessible.h"
#include "windows/borrow_dialog.h"
#include "windows/payoff_chart.h"

namespace {

// Milliseconds after a paint at which what changed on the cabinet is told.
constexpr int kTellAfterMs = 150;
constexpr int kKeys = layout::kBetKeys + 2;  // the bet keys, BET MAX and SPIN

// The cabinet: its logo, its three meters and status line, its reels, and its keys, in the order
// they stand from the top. What it tells: the meters once play has come to rest, each text of
// the status line once a spin, the reels once they have come to rest, and each key lit or put
// out, taken or given back.
class CabinetAccessible : public DrawnWindowAccessible {
 public:
  explicit CabinetAccessible(CabinetView* view);
  ~CabinetAccessible() override {
    if (teller_) delete teller_.data();
  }

 private:
  // The cabinet once any picture being drawn ahead on another thread is finished.
  const Cabinet& Shown() const { return view_->Settled(); }
  const MainScreen& Screen() const { return Shown().Screen(); }
  const GameState& State() const { return Screen().State(); }
  QString StatusText() const { return Shown().Status().Shown(); }
  // A rectangle of the cabinet's device pixels in the view's own coordinates.
  QRect Local(const QRect& device) const;
  // A rectangle of the design grid (right and bottom just outside) in the view's coordinates.
  QRect Design(int left, int top, int right, int bottom) const;
  QRect ReelCell(int reel, int row) const;
  // The symbols the reels show at their stops.
  std::array<std::array<int32_t, kRows>, kReels> ReelsAtStops() const;
  void Tell();

  CabinetView* view_;
  std::array<AccessiblePart*, 3> meters_{};  // Coins, Winnings, Credits
  AccessiblePart* status_ = nullptr;
  AccessibleTable* reels_ = nullptr;
  std::array<AccessiblePart*, kKeys> keys_{};
  QPointer<PaintedChangeTeller> teller_;

  // What has been told: the reels as their cells are named, the meters, the status line's texts
  // since the spin of told_spin_, the keys.
  std::array<std::array<int32_t, kRows>, kReels> reels_named_{};
  std::array<int, 3> told_meters_{};
  QStringList told_status_;
  int told_spin_ = 0;
  std::array<bool, kKeys> told_lit_{};
  bool told_enabled_ = false;
};

CabinetAccessible::CabinetAccessible(CabinetView* view)
    : DrawnWindowAccessible(view, QAccessible::Pane, QStringLiteral("Cabinet")), view_(view) {
  // The logo, the door to the maker's games page, named like the menu command.
  QString page = GamesPageCaption();
  page.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
  page.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  Add({QAccessible::Link, [page] { return page; }, nullptr,
       [this] { return Local(Screen().LogoPlace()); }, nullptr, nullptr,
       [this] { view_->Press(CabinetInput::kGamesPage, 0); }});

  // The meters, each from its label to its right edge; a blank meter has no text.
  struct Meter {
    const char* name;
    int left, right;
    int MainScreen::Showing::*value;
  };
  static constexpr std::array<Meter, 3> kMeters{{
      {"Coins", layout::kCoinsLabelX, layout::kBetMeterRight, &MainScreen::Showing::coins},
      {"Winnings", layout::kWinningsLabelX, layout::kWinMeterRight, &MainScreen::Showing::winnings},
      {"Credits", layout::kCreditsLabelX, layout::kCreditsMeterRight,
       &MainScreen::Showing::credits},
  }};
  for (size_t i = 0; i < kMeters.size(); ++i) {
    const Meter& m = kMeters[i];
    meters_[i] =
        Add({QAccessible::StaticText, [m] { return QString::fromLatin1(m.name); },
             [this, m] {
               const int value = Screen().Shown().*m.value;
               return value < 0 ? QString() : QString::number(value);
             },
             [this, m] {
               return Design(m.left, layout::kMeterFrame.top, m.right, layout::kStatusLine.top);
             }});
    told_meters_[i] = Screen().Shown().*m.value;
  }

  // Named for what it is, so a reader finds it even while it is clear; what it says is its
  // text.
  status_ = Add({QAccessible::StaticText, [] { return QStringLiteral("Status"); },
                 [this] { return StatusText(); },
                 [this] {
                   const layout::Rect& r = layout::kStatusLine;
                   return Design(r.left, r.top, r.right, r.bottom);
                 }});

  // The reels, five columns of three cells, each named by the symbol it shows at rest.
  reels_named_ = ReelsAtStops();
  reels_ = AddTable({QAccessible::Table, [] { return QStringLiteral("Reels"); }, nullptr,
                     [this] { return ReelCell(0, 0).united(ReelCell(kReels - 1, kRows - 1)); }},
                    kReels, kRows);
  for (int row = 0; row < kRows; ++row) {
    for (int r = 0; r < kReels; ++r) {
      auto* cell = new AccessiblePart(
          reels_, view,
          {QAccessible::Cell, [this, r, row] { return SymbolName(reels_named_[r][row]); }, nullptr,
           [this, r, row] { return ReelCell(r, row); }});
      cell->SetCell(r, row);
      reels_->AddChild(cell);
    }
  }

  // The keys, each pressed as a click on it presses it; none is taken while play runs.
  const auto enabled = [this] { return view_->TakesInput(); };
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    const layout::BetKey& key = layout::BetKeyPlace(k);
    keys_[k - 1] =
        Add({QAccessible::Button,
             [k] { return QString::fromLatin1(layout::BetKeyPlace(k).caption); }, nullptr,
             [this, key] {
               return Design(key.left, key.top, key.left + key.width,
                             key.top + layout::kBetKeyHeight + 1);
             },
             enabled, [this, k] { return Screen().Shown().bet_key_lit[k]; },
             [this, k] { view_->Press(CabinetInput::kBetKey, k); }});
  }
  const auto play_key = [&](const char* name, layout::HitArea area, CabinetInput input) {
    return Add(
        {QAccessible::Button, [name] { return QString::fromLatin1(name); }, nullptr,
         [this, area] { return Design(area.left, area.top, area.right + 1, area.bottom + 1); },
         enabled, nullptr, [this, input] { view_->Press(input, 0); }});
  };
  keys_[kKeys - 2] = play_key("Bet Max", layout::kMaxBetHitArea, CabinetInput::kMaxBet);
  keys_[kKeys - 1] = play_key("Spin", layout::kSpinHitArea, CabinetInput::kSpin);
  for (int k = 1; k <= layout::kBetKeys; ++k) told_lit_[k - 1] = Screen().Shown().bet_key_lit[k];
  told_enabled_ = view_->TakesInput();
  told_spin_ = State().SpinCount;

  teller_ = new PaintedChangeTeller(view, kTellAfterMs, [this] { Tell(); });
}

QRect CabinetAccessible::Local(const QRect& device) const {
  const ScreenScale& scale = Shown().Layout().scale;
  return QRectF(QPointF(device.left() + scale.offset, device.top()) / scale.ratio,
                QSizeF(device.size()) / scale.ratio)
      .toAlignedRect();
}

QRect CabinetAccessible::Design(int left, int top, int right, int bottom) const {
  const ScreenScale& scale = Shown().Layout().scale;
  return Local(QRect(QPoint(scale.Scale(left), scale.Scale(top)),
                     QPoint(scale.Scale(right) - 1, scale.Scale(bottom) - 1)));
}

QRect CabinetAccessible::ReelCell(int reel, int row) const {
  const ScreenLayout& l = Shown().Layout();
  return Local(QRect(l.ReelsLeft + reel * l.ReelPitch, l.ReelsTop + row * l.CellSize, l.CellSize,
                     l.CellSize));
}

std::array<std::array<int32_t, kRows>, kReels> CabinetAccessible::ReelsAtStops() const {
  const GameState& gs = State();
  std::array<std::array<int32_t, kRows>, kReels> codes{};
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      codes[r][row] = gs.ReelStrip[r][StripPosition(gs.ReelStop[r], row)];
    }
  }
  return codes;
}

void CabinetAccessible::Tell() {
  const GameState& gs = State();
  const MainScreen::Showing& shown = Screen().Shown();
  // The reels once they stand still: each cell whose symbol changed.
  if (!view_->ReelsTurning()) {
    const auto at_stops = ReelsAtStops();
    for (int row = 0; row < kRows; ++row) {
      for (int r = 0; r < kReels; ++r) {
        if (reels_named_[r][row] == at_stops[r][row]) continue;
        reels_named_[r][row] = at_stops[r][row];
        TellNameChanged(reels_->Children()[row * kReels + r]);
      }
    }
  }
  // The status line: each of its texts once a spin (the presentation shows them in turn).
  if (gs.SpinCount != told_spin_) {
    told_spin_ = gs.SpinCount;
    told_status_.clear();
  }
  const QString status = StatusText();
  if (!status.isEmpty() && !told_status_.contains(status)) {
    told_status_.append(status);
    TellNameChanged(status_);
  }
  // The meters once they have stopped counting: after the count-up, with play at rest.
  if (!view_->PlayRunning()) {
    const std::array<int, 3> now{shown.coins, shown.winnings, shown.credits};
    for (size_t i = 0; i < now.size(); ++i) {
      if (now[i] == told_meters_[i]) continue;
      told_meters_[i] = now[i];
      TellNameChanged(meters_[i]);
    }
  }
  // The keys: lit or put out, and taken while play runs.
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    if (shown.bet_key_lit[k] == told_lit_[k - 1]) continue;
    told_lit_[k - 1] = shown.bet_key_lit[k];
    TellCheckedChanged(keys_[k - 1]);
  }
  if (view_->TakesInput() != told_enabled_) {
    told_enabled_ = !told_enabled_;
    for (AccessiblePart* key : keys_) TellEnabledChanged(key);
  }
}

// The payoff chart: its Close button and characters, then its figures as text, one line of the
// pay table a part (a screen reader cannot read the figures off the glass), then the texts of the
// glass that say something in words (the jackpot, the rules).
class PayoffChartAccessible : public DrawnWindowAccessible {
 public:
  explicit PayoffChartAccessible(PayoffChartWindow* chart)
      : DrawnWindowAccessible(chart, QAccessible::Dialog, chart->windowTitle()) {
    // Each line where its figures or words are drawn (the window lays them out again when it is
    // resized, so the place is asked for each time).
    const auto line = [this](const QString& text, std::function<QRect()> place) {
      Add({QAccessible::StaticText, [text] { return text; }, [text] { return text; },
           std::move(place)});
    };
    const QStringList counts{QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                             QStringLiteral("2"), QStringLiteral("1")};
    size_t table = 0;
    const auto pays = [&](const payoff_chart::PayColumn& column) {
      QStringList said;
      for (size_t i = 0; i < column.pays.size(); ++i) {
        if (column.pays[i] > 0)
          said << QStringLiteral("%1 pay %2").arg(counts[i]).arg(column.pays[i]);
      }
      line(SymbolName(column.code) + QStringLiteral(": ") + said.join(QStringLiteral(", ")),
           [chart, table] { return chart->PayTablePlace(table); });
      ++table;
    };
    for (const payoff_chart::PayColumn& column : payoff_chart::kLargeColumns) pays(column);
    for (const payoff_chart::PayColumn& column : payoff_chart::kSmallColumns) pays(column);
    QStringList scatters;
    for (size_t i = 0; i < payoff_chart::kScatterPays.size(); ++i) {
      scatters << QStringLiteral("%1 pay %2 times the total bet")
                      .arg(counts[i])
                      .arg(payoff_chart::kScatterPays[i]);
    }
    line(QStringLiteral("ZELMAR badges anywhere: ") + scatters.join(QStringLiteral(", ")),
         [chart] { return chart->ScatterPlace(); });
    for (size_t i = 0; i < chart->Texts().size(); ++i) {
      const QString& text = chart->Texts()[i].text;
      if (text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        line(text, [chart, i] { return chart->TextPlace(i); });
    }
  }
};

// The borrow dialog: its chips, modes and keys, then its two meters, read as text and told when a
// chip has changed them.
class BorrowDialogAccessible : public DrawnWindowAccessible {
 public:
  explicit BorrowDialogAccessible(BorrowDialog* dialog)
      : DrawnWindowAccessible(dialog, QAccessible::Dialog, dialog->windowTitle()) {
    const GameState& gs = dialog->State();
    // Each meter under its caption, the loan on the left and the credits on the right.
    borrowed_ = Add({QAccessible::StaticText, [] { return QStringLiteral("Borrowed"); },
                     [&gs] { return QString::number(gs.Borrowed); },
                     [] { return QRect(20, 20, 200, 45); }});
    credits_ = Add({QAccessible::StaticText, [] { return QStringLiteral("Credits"); },
                    [&gs] { return QString::number(gs.Credits); },
                    [] { return QRect(BorrowDialog::kClientWidth - 230, 20, 200, 45); }});
    told_ = {gs.Borrowed, gs.Credits};
    teller_ = new PaintedChangeTeller(dialog, kTellAfterMs, [this, &gs] {
      if (gs.Borrowed != told_[0]) TellNameChanged(borrowed_);
      if (gs.Credits != told_[1]) TellNameChanged(credits_);
      told_ = {gs.Borrowed, gs.Credits};
    });
  }
  ~BorrowDialogAccessible() override {
    if (teller_) delete teller_.data();
  }

 private:
  AccessiblePart* borrowed_ = nullptr;
  AccessiblePart* credits_ = nullptr;
  std::array<int32_t, 2> told_{};
  QPointer<PaintedChangeTeller> teller_;
};

}  // namespace

QAccessibleInterface* GameWindowsAccessible(const QString& class_name, QObject* object) {
  // The cabinet's area is a plain widget to Qt's type system.
  if (class_name == QLatin1String("QWidget")) {
    if (auto* view = dynamic_cast<CabinetView*>(object)) return new CabinetAccessible(view);
    return nullptr;
  }
  if (class_name == QLatin1String("QDialog")) {
    if (auto* chart = dynamic_cast<PayoffChartWindow*>(object)) {
      return new PayoffChartAccessible(chart);
    }
    if (auto* borrow = dynamic_cast<BorrowDialog*>(object))
      return new BorrowDialogAccessible(borrow);
    return nullptr;
  }
  if (class_name == QLatin1String("BonusGameWindow")) {
    return MakeBonusGameAccessible(static_cast<BonusGameWindow*>(object));
  }
  return nullptr;
}

QString SymbolName(int code) {
  // As the pay table in the manual names them.
  static constexpr std::array<const char*, 12> kLineSymbols{"Ice-hockey sticks and puck",
                                                            "Racing car",
                                                            "Boxing gloves",
                                                            "Soccer ball",
                                                            "Tennis racket and ball",
                                                            "Gymnast on the beam",
                                                            "Eight-ball",
                                                            "Bowling pin",
                                                            "American football",
                                                            "Basketball",
                                                            "Baseball bat and ball",
                                                            "Golf ball on a tee"};
  if (code >= kWild && code <= kLastWildFrame) return QStringLiteral("WILD");
  if (IsScatter(code)) return QStringLiteral("ZELMAR badge %1").arg(code - kFirstScatter + 1);
  if (code >= kSymbolA && code <= kSymbolL)
    return QString::fromLatin1(kLineSymbols[code - kSymbolA]);
  return {};
}
