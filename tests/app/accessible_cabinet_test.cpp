// The cabinet in the accessibility tree: its keys stand where they are drawn, and pressing one
// there does what a click on it does, under the same rules.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>

#include "app/cabinet_accessible.h"
#include "tests/app/game_fixture.h"

namespace {

class AccessibleCabinet : public GameFixture {
 protected:
  void SetUp() override { Start(); }
  void TearDown() override {
    if (cabinet_ != nullptr)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cabinet_));
  }
  QAccessibleInterface* Cabinet() {
    if (cabinet_ == nullptr) cabinet_ = GameWindowsAccessible("QWidget", &game_->View());
    return cabinet_;
  }
  QAccessibleInterface* Part(const QString& name) {
    for (int i = 0; i < Cabinet()->childCount(); ++i) {
      QAccessibleInterface* part = Cabinet()->child(i);
      if (part->text(QAccessible::Name) == name) return part;
    }
    return nullptr;
  }
  // What a click at the centre of the part's place would press, and on which bet key.
  CabinetInput ClickedAt(QAccessibleInterface* part, int* bet_key) {
    const QPoint centre = game_->View().mapFromGlobal(part->rect().center());
    const double ratio = Layout().scale.ratio;
    return game_->View().InputAt(static_cast<int>(centre.x() * ratio),
                                 static_cast<int>(centre.y() * ratio), bet_key);
  }

  QAccessibleInterface* cabinet_ = nullptr;
};

TEST_F(AccessibleCabinet, EveryKeyStandsWhereItIsDrawnAtEveryWidth) {
  for (int width : {800, 1024, 1920}) {
    if (cabinet_ != nullptr)
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cabinet_));
    cabinet_ = nullptr;
    Start(1, width, width == 1920 ? 1080 : width * 3 / 4);
    Ready();
    for (int k = 1; k <= layout::kBetKeys; ++k) {
      QAccessibleInterface* key = Part(QString::fromLatin1(layout::BetKeyPlace(k).caption));
      ASSERT_NE(key, nullptr) << k;
      EXPECT_EQ(key->role(), QAccessible::Button);
      int pressed = 0;
      EXPECT_EQ(ClickedAt(key, &pressed), CabinetInput::kBetKey) << width << " key " << k;
      EXPECT_EQ(pressed, k) << width;
    }
    int unused = 0;
    EXPECT_EQ(ClickedAt(Part("Bet Max"), &unused), CabinetInput::kMaxBet) << width;
    EXPECT_EQ(ClickedAt(Part("Spin"), &unused), CabinetInput::kSpin) << width;
  }
}

TEST_F(AccessibleCabinet, APressSpinsOnceTheCallHasAnsweredAndTakesTheKeysMeanwhile) {
  Ready();
  QAccessibleInterface* one_credit = Part("1 Credit");
  ASSERT_NE(one_credit, nullptr);
  ASSERT_NE(Part("Status"), nullptr) << "the status line is found while it is clear";
  ASSERT_FALSE(one_credit->state().disabled);
  // A credits key selects and spins, nine lines being bet.
  one_credit->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  // The press answers first; the spin starts from the event loop.
  EXPECT_FALSE(game_->Play().Running());
  QCoreApplication::processEvents();
  EXPECT_TRUE(game_->Play().Running());
  EXPECT_EQ(state_.Credits, kStartingCredits - 9);
  for (const char* key : {"Spin", "Bet Max", "1 Payline", "10 Credits"}) {
    EXPECT_TRUE(Part(key)->state().disabled) << key;
  }
  // A press while play runs is ignored, as a click is.
  Part("Bet Max")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  PlayOut();
  ASSERT_NE(Part("Status"), nullptr) << "the status line keeps its name whatever it says";
  EXPECT_FALSE(Part("Spin")->state().disabled);
  EXPECT_EQ(state_.SpinCount, 1);
}

}  // namespace
