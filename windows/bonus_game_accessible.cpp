#include "windows/bonus_game_accessible.h"

#include <QPointer>
#include <array>

#include "platform/accessible_part.h"
#include "windows/bonus_game.h"

namespace {

constexpr int kTellAfterMs = 150;

// The STOP signs as the stadium picture draws them (picture coordinates), and the caption above
// the pitch.
constexpr QRect kStopSigns[2] = {QRect(QPoint(17, 134), QPoint(86, 186)),
                                 QRect(QPoint(554, 134), QPoint(622, 186))};
constexpr QRect kCaption(0, 0, BonusGameWindow::kPictureWidth, 120);

class BonusGameAccessible : public DrawnWindowAccessible {
 public:
  explicit BonusGameAccessible(BonusGameWindow* window)
      : DrawnWindowAccessible(window, QAccessible::Dialog, window->windowTitle()), window_(window) {
    Add({QAccessible::StaticText,
         [] {
           return QStringLiteral(
               "Pick as many boxes as you like, but either of the two bomb boxes loses "
               "everything!");
         },
         nullptr, [this] { return OnPicture(kCaption); }});
    const auto stop = [this](int sign) {
      return Add({QAccessible::Button, [] { return QStringLiteral("STOP"); }, nullptr,
                  [this, sign] { return OnPicture(kStopSigns[sign]); },
                  // A STOP collects in every state, after a bomb too, until a collect has
                  // armed the close (a second one changes nothing).
                  [this] { return !window_->Collected(); }, nullptr,
                  [this, sign] {
                    const QPoint centre = kStopSigns[sign].center();
                    window_->PickAt(centre.x(), centre.y());
                  }});
    };
    stops_[0] = stop(0);
    for (int i = 0; i < BonusGameWindow::kBalls; ++i) {
      boxes_[i] =
          Add({QAccessible::Button, [this, i] { return BoxName(i); }, nullptr,
               [this, i] { return OnPicture(window_->BallBox(i)); },
               [this, i] { return !window_->Game().Over() && !window_->Game().Picked(i); }, nullptr,
               [this, i] {
                 const QPoint centre = window_->BallBox(i).center();
                 window_->PickAt(centre.x(), centre.y());
               }});
      told_names_[i] = BoxName(i);
    }
    stops_[1] = stop(1);
    total_ = Add({QAccessible::StaticText, [] { return QStringLiteral("Total"); },
                  [this] { return QString::number(window_->Game().Total()); },
                  [this] { return OnPicture(kCaption); }});
    message_ = Add({QAccessible::StaticText, [this] { return Message(); },
                    [this] { return Message(); }, [this] { return OnPicture(kCaption); }});
    told_total_ = window_->Game().Total();
    told_collected_ = window_->Collected();
    teller_ = new PaintedChangeTeller(window, kTellAfterMs, [this] { Tell(); });
  }
  ~BonusGameAccessible() override {
    if (teller_) delete teller_.data();
  }

 private:
  QRect OnPicture(const QRect& r) const { return r.translated(window_->PicturePos()); }
  bool Bombed() const { return window_->ExplodeFrame() >= 0; }
  QString BoxName(int i) const {
    const BonusGame& game = window_->Game();
    if (!game.Picked(i)) return Bombed() ? QStringLiteral("Bomb") : QStringLiteral("Ball");
    const int32_t prize = game.Prize(i);
    return prize > 0 ? QString::number(prize) : QStringLiteral("Bomb");
  }
  QString Message() const { return Bombed() ? QStringLiteral("YOU LOSE") : QString(); }

  void Tell() {
    for (int i = 0; i < BonusGameWindow::kBalls; ++i) {
      const QString name = BoxName(i);
      if (name == told_names_[i]) continue;
      told_names_[i] = name;
      TellNameChanged(boxes_[i]);
      TellEnabledChanged(boxes_[i]);
    }
    if (window_->Game().Total() != told_total_) {
      told_total_ = window_->Game().Total();
      TellNameChanged(total_);
    }
    if (Message() != told_message_) {
      told_message_ = Message();
      TellNameChanged(message_);
    }
    if (window_->Collected() != told_collected_) {
      told_collected_ = !told_collected_;
      for (AccessiblePart* stop : stops_) TellEnabledChanged(stop);
    }
  }

  BonusGameWindow* window_;
  std::array<AccessiblePart*, 2> stops_{};
  std::array<AccessiblePart*, BonusGameWindow::kBalls> boxes_{};
  AccessiblePart* total_ = nullptr;
  AccessiblePart* message_ = nullptr;
  QPointer<PaintedChangeTeller> teller_;
  std::array<QString, BonusGameWindow::kBalls> told_names_;
  int32_t told_total_ = 0;
  QString told_message_;
  bool told_collected_ = false;
};

}  // namespace

QAccessibleInterface* MakeBonusGameAccessible(BonusGameWindow* window) {
  return new BonusGameAccessible(window);
}
