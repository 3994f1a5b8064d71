// Time from a press on the board to the character being in the text box.
#include "support/talkfixture.h"
#include "timing.h"

#include <QApplication>
#include <QTest>

namespace {

constexpr int Presses = 1000;

void pressAndTime(TalkFixture &f, Grid *grid, int row, int col, Timings &timings)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, col)).center();
    const int before = f.window().txtTalk->length();
    const auto start = std::chrono::steady_clock::now();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    const auto end = std::chrono::steady_clock::now();
    if (f.window().txtTalk->length() <= before)
        qFatal("the press entered nothing");
    timings.add(end - start);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        TalkFixture f(
            {{QStringLiteral("OPT1"), QStringLiteral("2")}, {QStringLiteral("Samp"), QStringLiteral("0")}});
        Timings t;
        for (int i = 0; i < Presses; ++i) {
            if (i % 400 == 0)
                f.window().txtTalk->setText(QString());
            pressAndTime(f, f.window().grdBoard, i % 5, i % 10, t);
        }
        t.print("first_screen_press");
    }
    {
        TalkFixture f(
            {{QStringLiteral("OPT1"), QStringLiteral("0")}, {QStringLiteral("Samp"), QStringLiteral("0")}});
        Timings t;
        for (int i = 0; i < Presses; ++i) {
            if (i % 400 == 0)
                f.window().txtTalk->setText(QString());
            f.pressCell(f.window().grdBoard, 2, i % 10);
            pressAndTime(f, f.window().grdBoard2, 1, 1, t);
        }
        t.print("selection_screen_press");
    }
    return 0;
}
