#include "devices/devicesscreen.h"

#include "devices/devicekeys.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "shared/callkey.h"
#include "shared/canvas.h"
#include "shared/palette.h"

namespace {

constexpr int Columns = 3;
constexpr int KeysTop = 2100, KeysBottom = 9600, Margin = 120, Gap = 120;
constexpr double MaxPoints = 36;
constexpr int MessageLeft = 1035, MessageTop = 1050, MessageWidth = 9300, MessageHeight = 990;
constexpr double MessagePoints[] = {15.75, 13.5, 12, 10.5, 9};

quint32 colourOf(DeviceKeys::Look look)
{
    switch (look) {
    case DeviceKeys::Look::Failed:
        return Palette::PaleRed;
    case DeviceKeys::Look::Done:
    case DeviceKeys::Look::State:
        return Palette::PaleGreen;
    case DeviceKeys::Look::Busy:
    case DeviceKeys::Look::Unknown:
        return Palette::BackspaceKey;
    case DeviceKeys::Look::Idle:
        break;
    }
    return Colors::White;
}

} // namespace

QList<QRect> DeviceKeyPlaces(int count)
{
    QList<QRect> places;
    if (count <= 0)
        return places;
    const int rows = (count + Columns - 1) / Columns;
    const int width = (Canvas::Width - 2 * Margin - (Columns - 1) * Gap) / Columns;
    const int height = (KeysBottom - KeysTop - (rows - 1) * Gap) / rows;
    for (int i = 0; i < count; ++i)
        places << QRect(Margin + (i % Columns) * (width + Gap), KeysTop + (i / Columns) * (height + Gap),
                        width, height);
    return places;
}

DevicesScreen::DevicesScreen(DeviceKeys &keys, QWidget *over, const std::function<void()> &call,
                             const QString &problem)
    : QDialog(over, Qt::Dialog | Qt::FramelessWindowHint), m_keys(keys)
{
    setObjectName(QStringLiteral("frmDevices"));
    setWindowTitle(QStringLiteral("機器"));
    setAccessibleName(QStringLiteral("機器"));
    setBackground(this, Palette::Window);
    Twips::sizeDialog(this, over, Canvas::Width, Canvas::Height);
    if (over)
        move(over->mapToGlobal(QPoint(0, 0)));

    // The call stands where it stands on the main window.
    if (call)
        MakeCallKey(this, {30, 150, 915, 1650}, call);
    auto *title = new ColorLabel(QStringLiteral("機器"), this);
    title->setObjectName(QStringLiteral("lblDevices"));
    title->setBackColor(Palette::Window);
    Fonts::set(title, Fonts::ProportionalGothic, 36, true);
    Twips::setRect(title, 1035, 150, 3000, 900);
    m_message = new ColorLabel(QString(), this);
    m_message->setObjectName(QStringLiteral("lblDevicesMessage"));
    m_message->setBackColor(Palette::Window);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop); // a long reason is read from its start
    auto *back = makeButton(this, "cmdDevicesBack", QStringLiteral("戻る"), {10500, 150, 4650, 1650},
                            Palette::PaleRed, 48, true);
    back->setAccessibleDescription(QStringLiteral("機器の画面を閉じて、前の画面に戻る"));
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    auto *setup = makeButton(this, "cmdDevicesSetup", QStringLiteral("設定"), {120, 9840, 3000, 1065},
                             Colors::White, 24, true);
    setup->setAccessibleDescription(QStringLiteral("機器のキーを足す・直す（介助の方へ）"));
    connect(setup, &QPushButton::clicked, this, [this] {
        if (openSetup)
            openSetup();
    });
    connect(&m_keys, &DeviceKeys::changed, this, &DevicesScreen::showKey);
    rebuild(problem);
}

void DevicesScreen::rebuild(const QString &problem)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    const QList<QRect> places = DeviceKeyPlaces(m_keys.count());
    // Two lines to a key, the longest caption on one of them.
    qsizetype longest = 6; // "ついています"
    for (const DeviceKey &k : m_keys.list().keys)
        longest = std::max(longest, k.caption.size());
    double points = MaxPoints;
    if (!places.isEmpty())
        points = std::min({MaxPoints, Twips::toPixels(places.first().height(), 1.0) / 2.8 * 0.75,
                           Twips::toPixels(places.first().width(), 1.0) / (longest + 1.0) * 0.75});
    m_messageKey = -1;
    if (!problem.isEmpty())
        setMessage(problem);
    else if (m_keys.count() == 0)
        setMessage(tr("機器のキーはまだありません。介助の方が「設定」で足してください。"));
    else
        setMessage(QString()); // a key's own failure, shown below, is told again
    for (int i = 0; i < m_keys.count(); ++i) {
        auto *b = new ColorButton(QString(), this, i);
        b->setObjectName(QStringLiteral("cmdDevice"));
        b->setProperty("index", i);
        Fonts::set(b, Fonts::Gothic, points, true);
        Twips::setRect(b, places[i]);
        connect(b, &QPushButton::clicked, this, [this, i] { m_keys.press(i); });
        b->show();
        m_buttons << b;
        showKey(i);
    }
}

void DevicesScreen::setMessage(const QString &text)
{
    m_message->setText(text);
    // Without keys the line may take their room; with them it keeps its place, and its words grow
    // smaller until every one of them is seen.
    Twips::setRect(m_message, MessageLeft, MessageTop, MessageWidth,
                   m_keys.count() == 0 ? KeysBottom - MessageTop : MessageHeight);
    for (const double points : MessagePoints) {
        Fonts::set(m_message, Fonts::ProportionalGothic, points, true);
        if (m_message->heightForWidth(m_message->width()) <= m_message->height())
            break;
    }
}

void DevicesScreen::showKey(int key)
{
    if (key < 0 || key >= m_buttons.size())
        return;
    const DeviceKeys::View v = m_keys.view(key);
    ColorButton *b = m_buttons[key];
    // A reason is too long for a key: the key says it failed, or that nobody knows whether it
    // worked (a second press could undo it), and the line above says why.
    const bool reason = v.look == DeviceKeys::Look::Failed || v.look == DeviceKeys::Look::Unknown;
    const QString line = v.look == DeviceKeys::Look::Failed ? tr("できません")
                         : reason                           ? tr("わかりません")
                                                            : v.line;
    b->setText(line.isEmpty() ? v.caption : v.caption + QLatin1Char('\n') + line);
    if (reason) {
        setMessage(v.caption + QStringLiteral("：") + v.line);
        m_messageKey = key;
    } else if (key == m_messageKey && v.look != DeviceKeys::Look::Busy) {
        // Once the key has worked, its old failure is no longer true.
        setMessage(QString());
        m_messageKey = -1;
    }
    // The name carries the caption first, what the key shows under it, and then why.
    QString name = line.isEmpty() ? v.caption : v.caption + QStringLiteral("、") + line;
    if (reason)
        name += QStringLiteral("。") + v.line;
    b->setAccessibleName(name);
    b->setBackColor(colourOf(v.look));
}
