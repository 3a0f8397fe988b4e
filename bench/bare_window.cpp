// The yardstick the game is measured against: a bare Qt main window with a menu bar like the
// game's, sized like the game's window (the screen less 10 pixels each way) and shown. It draws
// nothing of its own, plays nothing and reads no file, so what the game costs beyond it is what
// the game itself adds.
//
// With --turn-reels, Space plays the frames of a spin and nothing else: five reel windows where
// the game has them, each scrolled on a 25 ms beat until it lands at frame 21 + 6 r of 47. That
// is the least drawing a spin can do in plain Qt, the yardstick for the game's CPU while
// spinning.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <cstring>

#include "engine/scale.h"
#include "screen/layout.h"
#include "screen/layout_width.h"

namespace {

constexpr int kFrameMs = 25;
constexpr int kSpinFrames = 47;
constexpr int kFirstLanding = 21;
constexpr int kLandingGap = 6;
constexpr int kReels = 5;

// The game area of the window with --turn-reels: black, and the reels of a spin on Space.
class GameArea : public QWidget {
 public:
  GameArea() {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    beat_.setInterval(kFrameMs);
    connect(&beat_, &QTimer::timeout, this, [this] { Frame(); });
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Space || beat_.isActive()) return;
    frame_ = 0;
    beat_.start();
  }

  void paintEvent(QPaintEvent* event) override {
    // Every pixel once: black beside the reels, a reel's strip within it.
    QPainter painter(this);
    QRegion reels;
    for (int r = 0; r < kReels && !strip_.isNull(); ++r) reels += Reel(r);
    for (const QRect& area : event->region()) {
      painter.setClipRect(area);
      for (const QRect& beside : QRegion(area).subtracted(reels)) {
        painter.fillRect(beside, Qt::black);
      }
      for (int r = 0; r < kReels && !strip_.isNull(); ++r) {
        const QRect reel = Reel(r);
        if (!reel.intersects(area)) continue;
        painter.drawImage(reel.topLeft(), strip_,
                          QRect(0, (frame_ * step_) % reel.height(), reel.width(), reel.height()));
      }
    }
  }

 private:
  // Reel r's window in this widget, where the game's layout puts it for this game area.
  QRect Reel(int r) const {
    const int width = LayoutWidth(screen()->size().width(), this->width(), height());
    const int left = CabinetLeft(this->width(), width);
    return {left + ScaleAt(width, layout::kReelsLeft + r * layout::kReelPitch),
            ScaleAt(width, layout::kReelsTop), ScaleAt(width, layout::kCell),
            ScaleAt(width, 3 * layout::kCell)};
  }

  void Frame() {
    if (strip_.isNull()) {
      // Bands a cell apart, twice a window tall, so that every frame's rows are in it.
      const QRect reel = Reel(0);
      strip_ = QImage(reel.width(), 2 * reel.height(), QImage::Format_RGB32);
      QPainter bands(&strip_);
      for (int y = 0; y < strip_.height(); y += reel.height() / 3) {
        bands.fillRect(0, y, reel.width(), reel.height() / 3, QColor::fromHsv(y % 360, 160, 220));
      }
      step_ = reel.height() / 9;
    }
    ++frame_;
    for (int r = 0; r < kReels; ++r) {
      if (frame_ <= kFirstLanding + kLandingGap * r) update(Reel(r));
    }
    if (frame_ >= kSpinFrames) beat_.stop();
  }

  QTimer beat_;
  QImage strip_;
  int frame_ = 0;
  int step_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  if (argc > 1 && std::strcmp(argv[argc - 1], "--turn-reels") == 0) {
    auto* area = new GameArea;
    window.setCentralWidget(area);
    area->setFocus();
  }
  window.setWindowTitle(QStringLiteral("Bare Window"));
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&New Game"));
  file->addSeparator();
  file->addAction(QStringLiteral("&Open Game"));
  file->addAction(QStringLiteral("&Save Game"));
  file->addSeparator();
  QObject::connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, &window,
                   &QMainWindow::close);
  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  for (const QString& name : {QStringLiteral("Sound"), QStringLiteral("Music")}) {
    QAction* check = options->addAction(name);
    check->setCheckable(true);
    check->setChecked(true);
  }
  bar->addAction(QStringLiteral("&Borrow"));
  bar->addAction(QStringLiteral("&Stats"));
  bar->addAction(QStringLiteral("&Payoffs"));
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("Version"));
  help->addSeparator();
  help->addAction(QStringLiteral("&Manual"));
  const QSize screen = QGuiApplication::primaryScreen()->size();
  window.resize(screen.width() - 10, screen.height() - 10);
  window.show();
  return QApplication::exec();
}
