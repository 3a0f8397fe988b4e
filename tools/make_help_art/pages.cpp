#include "tools/make_help_art/pages.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <array>

#include "engine/paytable.h"
#include "engine/reels.h"

namespace help_art {

namespace {

struct SymbolRow {
  int code;
  const char* picture;
  const char* name;
};

// The rows of the table, highest five-in-a-row pay first.
constexpr SymbolRow kTableRows[] = {
    {kWild, "sym_wild.png", "WILD"},
    {kSymbolI, "sym_i.png", "American football"},
    {kSymbolJ, "sym_j.png", "Basketball"},
    {kSymbolK, "sym_k.png", "Baseball bat and ball"},
    {kSymbolL, "sym_l.png", "Golf ball on a tee"},
    {kSymbolA, "sym_a.png", "Ice-hockey sticks and puck"},
    {kSymbolB, "sym_b.png", "Racing car"},
    {kSymbolC, "sym_c.png", "Boxing gloves"},
    {kSymbolD, "sym_d.png", "Soccer ball"},
    {kSymbolE, "sym_e.png", "Tennis racket and ball"},
    {kSymbolF, "sym_f.png", "Gymnast on the beam"},
    {kSymbolG, "sym_g.png", "Eight-ball"},
    {kSymbolH, "sym_h.png", "Bowling pin"},
};

// What a line pays per credit when it starts with count of code and goes on with symbols that
// continue nothing (the scatter badges, out of order).
int PaysInARow(int code, int count) {
  std::array<int, kReels> line{};
  for (int r = 0; r < kReels; ++r) line[r] = r < count ? code : kFirstScatter + (r + 1) % kReels;
  return ScoreLine(line).pays;
}

int JackpotPays() {
  for (const PayRule& rule : kPayTable) {
    if (rule.kind == PayRule::Kind::Jackpot) return rule.pays;
  }
  return 0;
}

}  // namespace

QByteArray PayoffsPage() {
  QString html = QStringLiteral(
      "<html><head><title>Payoffs</title>\n"
      "<meta name=\"help-context\" content=\"41010\"></head>\n"
      "<body>\n<h1>Payoffs</h1>\n"
      "<p>These are exactly the figures the machine pays; <b>Payoffs</b> on the menu bar shows "
      "them beside the reels' symbols while you play. "
      "Line wins are paid in <b>coins per credit bet on the line</b>: a line that pays 100 pays "
      "500 credits when you bet 5 credits a line.</p>\n<ul>\n"
      "<li>Lines pay from the <b>left</b>: the symbols must stand on the first reels of a "
      "<a href=\"paylines.html\">payline</a> you play, side by side.</li>\n"
      "<li>Each payline pays only its best combination; the wins of all your lines add up.</li>\n"
      "<li>The <b>WILD</b> stands for every line symbol, but not for the ZELMAR badges. Wilds on "
      "their own pay as shown in the first row.</li>\n</ul>\n"
      "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\n"
      "<tr><th colspan=\"2\" align=\"left\">Symbols in a row from the left</th>"
      "<th width=\"56\">5</th><th width=\"56\">4</th><th width=\"56\">3</th>"
      "<th width=\"56\">2</th><th width=\"56\">1</th></tr>\n");
  for (const SymbolRow& row : kTableRows) {
    html += QStringLiteral(
                "<tr valign=\"middle\"><td><img src=\"%1\" width=\"48\" height=\"48\"></td>"
                "<td>%2</td>")
                .arg(QLatin1String(row.picture), QLatin1String(row.name));
    for (int count = kReels; count >= 1; --count) {
      const int pays = PaysInARow(row.code, count);
      html += pays > 0 ? QStringLiteral("<td align=\"right\">%1</td>").arg(pays)
                       : QStringLiteral("<td align=\"center\">&ndash;</td>");
    }
    html += QStringLiteral("</tr>\n");
  }
  html += QStringLiteral("</table>\n");

  html += QStringLiteral(
      "<h3><a name=\"scatter\">Scatter wins</a></h3>\n"
      "<p align=\"center\"><img src=\"sym_scatter.png\" width=\"48\" height=\"48\"></p>\n"
      "<p>Each reel carries its own ZELMAR badge. Badges pay wherever they stand, on a payline "
      "or not, and they pay on your <b>total bet</b> (lines &times; credits per line):</p>\n"
      "<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n"
      "<tr><th>Badges on the reels</th><th>Pay</th></tr>\n");
  for (int count = kReels; count >= 3; --count) {
    html += QStringLiteral("<tr><td align=\"center\">%1</td><td>%2 &times; total bet</td></tr>\n")
                .arg(count)
                .arg(ScatterMultiplier(count));
  }
  html += QStringLiteral(
      "</table>\n<p>Three or more badges also start the <a href=\"bonus.html\">bonus "
      "game</a>.</p>\n");

  html += QStringLiteral(
              "<h3><a name=\"jackpot\">The Zelmar Jackpot</a></h3>\n"
              "<p>Get all five ZELMAR badges <b>on one payline you play</b>, each reel's own "
              "badge in its place from left to right, and the line pays <b>%1 coins per credit "
              "bet on the line</b>: %2 credits at 10 credits a line. The badges count as a "
              "scatter win and start the bonus game as well. Wilds do not stand in for the "
              "badges.</p>\n")
              .arg(JackpotPays())
              .arg(JackpotPays() * 10);
  html += QStringLiteral(
      "<p>See also: <a href=\"playing.html#bets\">choosing a bet</a>, "
      "<a href=\"contents.html\">contents</a>.</p>\n</body></html>\n");
  return html.toUtf8();
}

QImage SymbolPicture(const QImage& sheet, int code, int side) {
  const int cell = sheet.width() / 4;
  return sheet.copy((code % 4) * cell, (code / 4) * cell, cell, cell)
      .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB32);
}

QImage PaylinesDiagram() {
  constexpr int kCell = 18;
  constexpr int kGap = 2;
  constexpr int kGridW = kReels * (kCell + kGap) - kGap;
  constexpr int kGridH = ::kRows * (kCell + kGap) - kGap;
  constexpr int kLabel = 20;
  constexpr int kPadX = 16;
  constexpr int kPadY = 12;
  constexpr int kColumns = 3;
  constexpr int kBoxW = kGridW + 2 * kPadX;
  constexpr int kBoxH = kGridH + kLabel + 2 * kPadY;
  const int rows = (kPaylines + kColumns - 1) / kColumns;

  QImage image(kColumns * kBoxW, rows * kBoxH, QImage::Format_RGB32);
  image.fill(QColor(16, 24, 56));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  for (int n = 1; n <= kPaylines; ++n) {
    const int left = ((n - 1) % kColumns) * kBoxW + kPadX;
    const int top = ((n - 1) / kColumns) * kBoxH + kPadY;
    p.setPen(QColor(255, 214, 80));
    p.drawText(QRect(left, top, kGridW, kLabel - 4), Qt::AlignCenter,
               QStringLiteral("Line %1").arg(n));
    const int grid_top = top + kLabel;
    QPainterPath path;
    for (int r = 0; r < kReels; ++r) {
      for (int row = 0; row < ::kRows; ++row) {
        const QRect cell(left + r * (kCell + kGap), grid_top + row * (kCell + kGap), kCell, kCell);
        const bool on_line = PaylineRow(n, r) == row;
        p.fillRect(cell, on_line ? QColor(255, 214, 80) : QColor(60, 72, 120));
      }
      const QPointF centre(left + r * (kCell + kGap) + kCell / 2.0,
                           grid_top + PaylineRow(n, r) * (kCell + kGap) + kCell / 2.0);
      if (r == 0) {
        path.moveTo(centre);
      } else {
        path.lineTo(centre);
      }
    }
    p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  return image;
}

}  // namespace help_art
