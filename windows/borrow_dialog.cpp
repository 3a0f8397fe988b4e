#include "windows/borrow_dialog.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <cmath>
#include <limits>
#include <utility>

#include "engine/game_state.h"
#include "platform/accessible_part.h"
#include "platform/help_viewer.h"
#include "platform/number_format.h"
#include "platform/platform.h"
#include "screen/fonts.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "shell/identity.h"

namespace {

const QString kFace = QString::fromLatin1(kUiFace);
constexpr int kFormFontPixels = 13;
constexpr int kModeFontPixels = 19;
constexpr int kRadioFontPixels = 16;
constexpr int kMeterLabelPoints = 10;
// The fixed dialog frame on each side: the credits caption ends a fixed distance before the
// outer right edge, which puts it over the right end of the credits meter.
constexpr int kFrameBorder = 3;
constexpr int kOuterWidth = BorrowDialog::kClientWidth + 2 * kFrameBorder;
constexpr int kCaptionRightGap = 35;
constexpr int kLabelTop = 20;
constexpr int kBorrowedLeft = 20;
constexpr int kMeterTop = 40;
constexpr int kCreditsRightGap = 30;

const char* const kChipStems[] = {"chip_1000", "chip_100", "chip_10", "chip_1"};
constexpr int kChipLeft[] = {89, 201, 313, 425};
constexpr int kChipTop = 104;
constexpr int kChipWidth = 80;
constexpr int kChipHeight = 57;

// Chip i's picture carried with the program, at its shown size (scale 1) or as the 2x or 4x
// master.
QString ChipFile(int i, int scale) {
  const QString suffix = scale == 1 ? QString() : QString("_%1x").arg(scale);
  return QString(":/art/main/%1%2.png").arg(QLatin1String(kChipStems[i]), suffix);
}

// A plain chip of the right size for when the carried picture cannot be read.
QImage PlainChip(int i) {
  static const QColor kColours[] = {QColor(22, 62, 172), QColor(184, 22, 30), QColor(18, 128, 62),
                                    QColor(30, 30, 34)};
  QImage chip(kChipWidth, kChipHeight, QImage::Format_ARGB32_Premultiplied);
  chip.fill(Qt::transparent);
  QPainter p(&chip);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 3));
  p.setBrush(kColours[i]);
  p.drawEllipse(QRectF(2, 2, kChipWidth - 4, kChipHeight - 6));
  p.setPen(Qt::white);
  p.setFont(DialogFont(kFormFontPixels));
  p.drawText(QRectF(0, 0, kChipWidth, kChipHeight - 4), Qt::AlignCenter,
             QStringLiteral("$") + QLocale::c().toString(kChipAmounts[i]));
  return chip;
}

QImage Brighter(const QImage& picture) {
  QImage lit = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter p(&lit);
  p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  p.fillRect(lit.rect(), QColor(255, 255, 255, 40));
  return lit;
}

}  // namespace

ChipButton::ChipButton(std::vector<QImage> masters, QWidget* parent)
    : QAbstractButton(parent), masters_(std::move(masters)) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

QSize ChipButton::sizeHint() const {
  return masters_.front().size();
}

QImage ChipButton::PictureFor(double device_pixel_ratio) const {
  const QImage& shown = masters_.front();
  if (device_pixel_ratio <= 1.0) return shown;
  const QSize pixels(static_cast<int>(std::lround(shown.width() * device_pixel_ratio)),
                     static_cast<int>(std::lround(shown.height() * device_pixel_ratio)));
  // The smallest master at least that large; beyond the largest, the largest.
  const QImage* source = &masters_.back();
  for (const QImage& master : masters_) {
    if (master.width() >= pixels.width() && master.height() >= pixels.height()) {
      source = &master;
      break;
    }
  }
  QImage picture = source->scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  picture.setDevicePixelRatio(device_pixel_ratio);
  return picture;
}

void ChipButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void ChipButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void ChipButton::paintEvent(QPaintEvent*) {
  // The pictures for this screen are made once, and again only when the window moves to a
  // screen of another device pixel ratio.
  const double ratio = devicePixelRatioF();
  if (ratio != ratio_) {
    ratio_ = ratio;
    picture_ = PictureFor(ratio);
    lit_ = Brighter(picture_);
    lit_.setDevicePixelRatio(picture_.devicePixelRatio());
  }
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  // A pressed chip sinks a pixel down and to the right, onto its own shadow.
  const int shift = isDown() ? 1 : 0;
  p.drawImage(QRect(shift, shift, width(), height()), hovered_ ? lit_ : picture_);
  if (hasFocus()) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(0.5, 0.5, width() - 1.0, height() - 6.0));
  }
}

BorrowDialog::BorrowDialog(GameState& state, const GameIdentity& identity, const MainArt& art,
                           Platform& platform, QWidget* parent)
    : QDialog(parent),
      state_(state),
      machine_(state),
      identity_(identity),
      art_(art),
      platform_(platform) {
  setWindowTitle(QStringLiteral("Use this form to borrow or pay back credits"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(DialogFont(kFormFontPixels));
  // The whole dialog is one button-face colour, the surface behind the meters included.
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  SetHelpContext(this, kHelpContext);

  for (int i = 0; i < 4; ++i) {
    // The chip's picture and its 2x and 4x masters; a plain chip when the picture cannot be
    // read, and no master that cannot be.
    std::vector<QImage> masters;
    const QImage picture(ChipFile(i, 1));
    if (picture.size() != QSize(kChipWidth, kChipHeight)) {
      masters.push_back(PlainChip(i));
    } else {
      masters.push_back(picture);
      for (int scale : {2, 4}) {
        const QImage master(ChipFile(i, scale));
        if (master.size() == QSize(kChipWidth * scale, kChipHeight * scale))
          masters.push_back(master);
      }
    }
    auto* chip = new ChipButton(std::move(masters), this);
    chip->setGeometry(kChipLeft[i], kChipTop, kChipWidth, kChipHeight);
    chip->setToolTip(QStringLiteral("$") + QLocale::c().toString(kChipAmounts[i]));
    chip->setAccessibleName(chip->toolTip());
    SetHelpContext(chip, kControlHelpContext);
    // A refusal opens a message box.
    connect(chip, &QAbstractButton::clicked, this,
            AnsweringAtOnce(this, [this, i] { TakeChip(i); }));
    chips_[i] = chip;
  }

  auto* mode = new QLabel(QStringLiteral("Mode:"), this);
  mode->setFont(DialogFont(kModeFontPixels));
  QPalette red = mode->palette();
  red.setColor(QPalette::WindowText, QColor(255, 0, 0));
  mode->setPalette(red);
  mode->move(56, 192);
  mode->adjustSize();

  borrow_mode_ = new QRadioButton(QStringLiteral("Borrow Credits"), this);
  pay_back_mode_ = new QRadioButton(QStringLiteral("Pay Back Credits"), this);
  borrow_mode_->setGeometry(147, 192, 190, 33);
  pay_back_mode_->setGeometry(355, 192, 190, 33);
  for (QRadioButton* radio : {borrow_mode_, pay_back_mode_}) {
    radio->setFont(DialogFont(kRadioFontPixels));
    SetHelpContext(radio, kControlHelpContext);
  }
  borrow_mode_->setChecked(true);
  mode->setBuddy(borrow_mode_);

  help_button_ = new QPushButton(QIcon(QStringLiteral(":/art/main/glyph_help.png")),
                                 QStringLiteral("&Help"), this);
  help_button_->setGeometry(10, 246, 127, 46);
  ok_button_ = new QPushButton(QIcon(QStringLiteral(":/art/main/glyph_ok.png")),
                               QStringLiteral("&OK"), this);
  ok_button_->setGeometry(442, 246, 127, 46);
  ok_button_->setDefault(true);
  for (QPushButton* button : {help_button_, ok_button_}) {
    button->setIconSize(QSize(20, 20));
    SetHelpContext(button, kControlHelpContext);
  }
  connect(help_button_, &QPushButton::clicked, this, AnsweringAtOnce(this, [this] { ShowHelp(); }));
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);

  surface_.Resize(kClientWidth, kClientHeight);
  surface_.on_changed = [this](const QRect& r) { update(r); };
  PaintAll();
}

void BorrowDialog::TakeChip(int i) {
  const int32_t amount = kChipAmounts[i];
  const LoanMode mode = borrow_mode_->isChecked() ? LoanMode::kBorrow : LoanMode::kPayBack;
  switch (machine_.Lend(mode, amount)) {
    case LoanOutcome::kDone:
      PaintAll();
      break;
    case LoanOutcome::kNotEnoughCredits:
      Message(QStringLiteral("You do not have ") + FormatFixed(amount, 2, 7) +
              QStringLiteral(" credits!"));
      break;
    case LoanOutcome::kMoreThanBorrowed:
      Message(QStringLiteral("You cannot pay back more credits than you have borrowed!"));
      break;
    case LoanOutcome::kBeyondLargestAmount:
      Message(QStringLiteral("You cannot borrow that many credits: the game counts no more than ") +
              FormatGrouped(std::numeric_limits<int32_t>::max(), 0) +
              QStringLiteral(" credits, borrowed or on the meter."));
      break;
  }
}

void BorrowDialog::ShowHelp() {
  Message(
      QStringLiteral("Use this screen to borrow credits or pay back credits that you "
                     "borrowed previously.  Click on the button representing the amount to "
                     "borrow (or pay back).\n\nTo switch between \"borrow\" and \"pay back\" "
                     "select the mode."));
}

void BorrowDialog::Message(const QString& text) {
  platform_.ShowMessage(this, QString::fromStdString(identity_.GameTitle), text);
}

void BorrowDialog::PaintAll() {
  const QRgb face = palette().color(QPalette::Window).rgb();
  surface_.SetRasterOp(RasterOp::Copy);
  surface_.SetPenColor(face);
  surface_.SetBrushColor(face);
  surface_.SetBrushClear(false);
  surface_.FillRect(0, 0, kClientWidth, kClientHeight);

  surface_.SetFontFace(kFace);
  surface_.SetFontSize(kMeterLabelPoints);
  surface_.SetFontBold(true);
  surface_.SetFontColor(palette().color(QPalette::ButtonText).rgb());
  const QString borrowed = QStringLiteral("Borrowed:");
  const QString credits = QStringLiteral("Credits:");
  surface_.TextOut(kBorrowedLeft, kLabelTop, borrowed);
  surface_.TextOut(kOuterWidth - surface_.TextWidth(credits) - kCaptionRightGap, kLabelTop,
                   credits);

  DrawNumber(surface_, art_, state_.Credits, kClientWidth - kCreditsRightGap, kMeterTop,
             /*green=*/false, /*rightAligned=*/true);
  DrawNumber(surface_, art_, state_.Borrowed, kBorrowedLeft, kMeterTop, /*green=*/true,
             /*rightAligned=*/false);
}

void BorrowDialog::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.drawImage(event->rect(), surface_.Image(), event->rect());
}

void BorrowDialog::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  QDialog::showEvent(event);
}
