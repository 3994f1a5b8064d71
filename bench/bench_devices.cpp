// From a press on a device key to the request arriving at a local fake home
// server; and a press on the board to its character in the text box, with no
// device and while a device hangs without answering.
#include "devices/devicekeys.h"
#include "platform/deviceactions.h"
#include "support/fakehomeassistant.h"
#include "support/talkfixture.h"
#include "timing.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

namespace {

constexpr int Presses = 200;
constexpr int BoardPresses = 600;

DeviceList lightList(const FakeHomeAssistant &ha)
{
    DeviceList list;
    list.server = QUrl(ha.url());
    list.token = QString::fromLatin1(ha.token);
    list.keys << DeviceKey{QStringLiteral("明かり"),
                           {},
                           DeviceKey::Kind::HomeAssistant,
                           {},
                           {},
                           QStringLiteral("light.toggle"),
                           QStringLiteral("light.bedroom")};
    return list;
}

void boardEcho(TalkFixture &f, Timings &t, const std::function<void()> &between)
{
    Grid *grid = f.window().grdBoard;
    for (int i = 0; i < BoardPresses; ++i) {
        if (i % 400 == 0)
            f.window().txtTalk->setText(QString());
        between();
        const QPoint at = grid->visualRect(grid->model()->index(i % 5, i % 10)).center();
        const int before = f.window().txtTalk->length();
        const auto start = std::chrono::steady_clock::now();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
        const auto end = std::chrono::steady_clock::now();
        if (f.window().txtTalk->length() <= before)
            qFatal("the press entered nothing");
        t.add(end - start);
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        FakeHomeAssistant ha;
        ha.states["light.bedroom"] = "off";
        ha.serviceSets.insert("toggle", "on");
        SystemDeviceActions actions;
        DeviceKeys keys(actions);
        keys.setList(lightList(ha));
        std::chrono::steady_clock::time_point pressed, received;
        QEventLoop arrived;
        ha.onRequest = [&] {
            received = std::chrono::steady_clock::now();
            arrived.quit();
        };
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, &arrived, [] { qFatal("no request arrived"); });
        Timings t;
        for (int i = 0; i < Presses; ++i) {
            giveUp.start(5000);
            pressed = std::chrono::steady_clock::now();
            if (!keys.press(0))
                qFatal("the key was still busy");
            arrived.exec();
            giveUp.stop();
            t.add(received - pressed);
            // The reply and the state read that follows, before the next press.
            if (!QTest::qWaitFor([&] { return keys.view(0).look != DeviceKeys::Look::Busy; }, 5000))
                qFatal("the key stayed busy");
            QTest::qWait(5);
        }
        t.print("device_action");
    }
    {
        TalkFixture f(
            {{QStringLiteral("OPT1"), QStringLiteral("2")}, {QStringLiteral("Samp"), QStringLiteral("0")}});
        Timings alone;
        boardEcho(f, alone, [] { QTest::qWait(10); });
        alone.print("character_echo");

        FakeHomeAssistant silent;
        silent.answer = FakeHomeAssistant::Answer::Silence;
        SystemDeviceActions actions;
        DeviceKeys keys(actions);
        keys.setList(lightList(silent));
        int sent = 0;
        Timings hanging;
        // The device key pressed again as soon as its last request has timed out: one always waits.
        boardEcho(f, hanging, [&] {
            sent += keys.press(0);
            QTest::qWait(10);
        });
        hanging.print("character_echo_device_hanging");
        std::printf("device_requests_hanging value=%d\n", sent);
    }
    return 0;
}
