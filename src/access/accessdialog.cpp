#include "access/accessdialog.h"

#include "access/recorddialog.h"
#include "platform/controls.h"
#include "platform/fonts.h"
#include "platform/settingsstore.h"
#include "platform/twips.h"
#include "shared/callkey.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>

namespace {

constexpr quint32 Back = 0xFFE0C0;
constexpr double Points = 18;
constexpr int Width = 15270, Height = 11115, CallColumn = 1440;
constexpr int RowHeight = 660;
constexpr int Left = 240, Column2 = 7800;

template <typename W> W *styled(W *w, const char *name, QRect twips, double points = Points)
{
    styleDialogControl(w, name, twips, Back, points);
    return w;
}

QString seconds(int ms)
{
    return QStringLiteral("%1 秒").arg(ms / 1000.0, 0, 'f', ms % 100 == 0 ? 1 : 2);
}

} // namespace

AccessDialog::AccessDialog(SettingsStore &store, QWidget *parent, const std::function<void()> &call)
    : QDialog(parent), m_store(store), m_call(call)
{
    setObjectName(QStringLiteral("frmAccess"));
    setWindowTitle(QStringLiteral("操作方法"));
    setAccessibleName(windowTitle());
    setBackground(this, Back);
    Twips::sizeDialog(this, parent, Width + (call ? CallColumn : 0), Height);
    if (call)
        MakeCallKey(this, {Width + CallColumn - 1260, 120, 1140, Height - 240}, call);
    const AccessSettings s = ReadAccessSettings(store);

    // The way of pressing, in the left column.
    m_methods = new QButtonGroup(this);
    const char *methods[] = {"タッチ・マウス", "ポインタを止めて押す（ドウェル）",
                             "スイッチ１つ（自動で動く）", "スイッチ２つ（移動と選択）"};
    for (int i = 0; i < 4; ++i) {
        optMethod[size_t(i)] = styled(new QRadioButton(QString::fromUtf8(methods[i]), this), "optMethod",
                                      {Left, 120 + i * RowHeight, 7300, RowHeight - 60});
        optMethod[size_t(i)]->setProperty("index", i);
        m_methods->addButton(optMethod[size_t(i)], i);
    }
    optMethod[size_t(s.method)]->setChecked(true);

    int top = 120 + 4 * RowHeight + 120;
    dwell = stepper("Dwell", QStringLiteral("止める時間"), Left, top, 300, 3000, 100, false);
    dwell.ms = s.dwellMs;
    top += RowHeight;
    scan = stepper("Scan", QStringLiteral("スキャンの間隔"), Left, top, 300, 5000, 100, false);
    scan.ms = s.scanMs;
    top += RowHeight;
    longPress = stepper("LongPress", QStringLiteral("長押しで戻る"), Left, top, 500, 3000, 500, true);
    longPress.ms = s.longPressMs;
    top += RowHeight;
    chkColumn = styled(new QCheckBox(QStringLiteral("文字盤を縦の列（あいうえお）から選ぶ"), this),
                       "chkColumn", {Left, top, 7300, RowHeight - 60});
    chkColumn->setChecked(s.columnFirst);
    top += RowHeight;
    chkBlocks = styled(new QCheckBox(QStringLiteral("縦の列を３列ずつまとめて選ぶ"), this), "chkBlocks",
                       {Left, top, 7300, RowHeight - 60});
    chkBlocks->setChecked(s.columnBlocks);
    // Blocks are made of columns: without the columns first the choice means nothing.
    chkBlocks->setEnabled(s.columnFirst);
    connect(chkColumn, &QCheckBox::toggled, chkBlocks, &QWidget::setEnabled);
    top += RowHeight;
    chkPickFirst = styled(new QCheckBox(QStringLiteral("選択画面は押した文字から始める"), this),
                          "chkPickFirst", {Left, top, 7300, RowHeight - 60});
    chkPickFirst->setChecked(s.pickFirst);
    top += RowHeight;
    chkSpeak = styled(new QCheckBox(QStringLiteral("スキャンを声で知らせる"), this), "chkSpeak",
                      {Left, top, 7300, RowHeight - 60});
    chkSpeak->setChecked(s.speakScan);

    // Switches, highlight and the filters for shaky hands, in the right column.
    m_selectKey = s.selectKey;
    m_moveKey = s.moveKey;
    cmdSelectKey = makeButton(this, "cmdSelectKey", QString(), {Column2, 120, 7200, RowHeight - 60}, 0xFFFFFF,
                              Points, false);
    cmdMoveKey = makeButton(this, "cmdMoveKey", QString(), {Column2, 120 + RowHeight, 7200, RowHeight - 60},
                            0xFFFFFF, Points, false);
    connect(cmdSelectKey, &QPushButton::clicked, this, [this] { captureKey(cmdSelectKey); });
    connect(cmdMoveKey, &QPushButton::clicked, this, [this] { captureKey(cmdMoveKey); });
    showKeys();
    chkMouse = styled(new QCheckBox(QStringLiteral("マウスのクリックも選択スイッチにする"), this), "chkMouse",
                      {Column2, 120 + 2 * RowHeight, 7200, RowHeight - 60});
    chkMouse->setChecked(s.mouseSwitch);
    m_colors = new QButtonGroup(this);
    const char *colors[] = {"枠：赤紫", "だいだい", "黄"};
    for (int i = 0; i < 3; ++i) {
        optColor[size_t(i)] = styled(new QRadioButton(QString::fromUtf8(colors[i]), this), "optColor",
                                     {Column2 + i * 2400, 120 + 3 * RowHeight, 2300, RowHeight - 60});
        optColor[size_t(i)]->setProperty("index", i);
        m_colors->addButton(optColor[size_t(i)], i);
    }
    optColor[size_t(s.highlight)]->setChecked(true);
    top = 120 + 4 * RowHeight + 120;
    ignore = stepper("Ignore", QStringLiteral("続けて押したのを無視"), Column2, top, 100, 2000, 100, true);
    ignore.ms = s.ignoreRepeatMs;
    hold =
        stepper("Hold", QStringLiteral("押し続けて決まる"), Column2, top + RowHeight, 100, 2000, 100, true);
    hold.ms = s.holdMs;
    firstRepeat = stepper("FirstRepeat", QStringLiteral("くり返しまで"), Column2, top + 2 * RowHeight, 230,
                          2000, 100, false);
    firstRepeat.ms = s.firstRepeatMs;
    callHold = stepper("CallHold", QStringLiteral("押し続けて呼び出し"), Column2, top + 3 * RowHeight, 2000,
                       10000, 500, false);
    callHold.ms = s.callHoldMs;
    addFollow(120 + 11 * RowHeight + 180);
    for (Stepper *st : {&dwell, &scan, &longPress, &ignore, &hold, &firstRepeat, &callHold}) {
        connect(st->down, &QPushButton::clicked, this, [this, st] { stepBy(*st, -1); });
        connect(st->up, &QPushButton::clicked, this, [this, st] { stepBy(*st, +1); });
        showValue(*st);
    }

    const std::pair<const char *, quint32> buttons[] = {{"キャンセル", 0xC0C0FF}, {"確定", 0xFFC0C0}};
    for (int i = 0; i < 2; ++i) {
        auto *b =
            makeButton(this, "cmdOK", QString::fromUtf8(buttons[i].first),
                       {i == 0 ? 3000 : 8400, Height - 1500, 4200, 1200}, buttons[i].second, 28, true, i);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOK_Click(i); });
        cmdOK[size_t(i)] = b;
    }
}

void AccessDialog::addFollow(int top)
{
    m_follow = ReadFollowSettings(m_store);
    m_scanAtOpen = scan.ms;
    m_dwellAtOpen = dwell.ms;
    chkFollow = styled(new QCheckBox(QStringLiteral("間隔と止める時間を使う人に合わせる"), this), "chkFollow",
                       {Left, top, 7300, RowHeight - 60});
    chkFollow->setChecked(m_follow.on);
    lblFollowNow = styled(new QLabel(this), "lblFollowNow", {Left, top + RowHeight, 7300, RowHeight - 60});
    lblFollowGrace =
        styled(new QLabel(this), "lblFollowGrace", {Column2, top + 2 * RowHeight, 7200, RowHeight - 60});
    chkFollowFreeze = styled(new QCheckBox(QStringLiteral("今の値のまま止める"), this), "chkFollowFreeze",
                             {Column2, top, 7200, RowHeight - 60});
    chkFollowFreeze->setChecked(m_follow.frozen);
    cmdFollowReset = makeButton(this, "cmdFollowReset", QStringLiteral("設定の値に戻す"),
                                {Column2, top + RowHeight, 7200, RowHeight - 60}, 0xFFFFFF, Points, true);
    cmdRecord = makeButton(this, "cmdRecord", QStringLiteral("書く速さの記録…"),
                           {Left, top + 2 * RowHeight, 7300, RowHeight - 60}, 0xFFFFFF, Points, true);
    connect(cmdRecord, &QPushButton::clicked, this, [this] {
        const QDate today = QDate::currentDate();
        RecordDialog record(m_store, today, this, m_call);
        runRecord(record);
    });
    connect(cmdFollowReset, &QPushButton::clicked, this, [this] {
        m_followReset = true;
        showFollow();
    });
    connect(chkFollow, &QCheckBox::toggled, this, &AccessDialog::showFollow);
    showFollow();
}

void AccessDialog::showFollow()
{
    // A value reached stands until the carer sets another or goes back; 0: nothing reached yet.
    const bool learnt = chkFollow->isChecked() && !m_followReset;
    const bool scanLearnt = learnt && scan.ms == m_scanAtOpen && m_follow.scanMs > 0;
    const bool dwellLearnt = learnt && dwell.ms == m_dwellAtOpen && m_follow.dwellMs > 0;
    lblFollowNow->setText(QStringLiteral("今：スキャン %1・止める %2")
                              .arg(seconds(scanLearnt ? m_follow.scanMs : scan.ms),
                                   seconds(dwellLearnt ? m_follow.dwellMs : dwell.ms)));
    lblFollowGrace->setText(
        scanLearnt && m_follow.scanGraceMs > 0
            ? QStringLiteral("枠が移って %1 までは前の項目").arg(seconds(m_follow.scanGraceMs))
            : QString());
    lblFollowGrace->setAccessibleName(lblFollowGrace->text());
    lblFollowGrace->setVisible(!lblFollowGrace->text().isEmpty()); // nothing learnt, nothing shown
    lblFollowNow->setAccessibleName(lblFollowNow->text());
}

FollowSettings AccessDialog::shownFollow() const
{
    FollowSettings f = ReadFollowSettings(m_store);
    if (chkFollow->isChecked() != m_follow.on)
        f.on = chkFollow->isChecked();
    if (chkFollowFreeze->isChecked() != m_follow.frozen)
        f.frozen = chkFollowFreeze->isChecked();
    // A new interval or dwell time set here is the one to use, and to follow the user from.
    if (m_followReset || scan.ms != m_scanAtOpen) {
        f.scanMs = 0;
        f.scanGraceMs = 0;
    }
    if (m_followReset || dwell.ms != m_dwellAtOpen)
        f.dwellMs = 0;
    return f;
}

AccessDialog::Stepper AccessDialog::stepper(const char *name, const QString &caption, int left, int top,
                                            int low, int high, int step, bool zeroIsOff)
{
    styled(new QLabel(caption, this), (QByteArray("lbl") + name).constData(),
           {left, top, 3400, RowHeight - 60});
    Stepper s{makeButton(this, (QByteArray("cmd") + name + "Down").constData(), QStringLiteral("－"),
                         {left + 3500, top, 900, RowHeight - 60}, 0xFFFFFF, Points, true),
              styled(new QLabel(this), (QByteArray("lbl") + name + "Value").constData(),
                     {left + 4500, top, 1700, RowHeight - 60}),
              makeButton(this, (QByteArray("cmd") + name + "Up").constData(), QStringLiteral("＋"),
                         {left + 6300, top, 900, RowHeight - 60}, 0xFFFFFF, Points, true),
              0,
              low,
              high,
              step,
              zeroIsOff};
    s.value->setAlignment(Qt::AlignCenter);
    s.down->setAccessibleName(caption + QStringLiteral("を短く"));
    s.up->setAccessibleName(caption + QStringLiteral("を長く"));
    return s;
}

void AccessDialog::stepBy(Stepper &s, int direction)
{
    if (s.zeroIsOff && s.ms == 0)
        s.ms = direction > 0 ? s.low : 0;
    else if (s.ms + direction * s.step < s.low)
        s.ms = s.zeroIsOff ? 0 : s.low;
    else
        s.ms = std::min(s.ms + direction * s.step, s.high);
    showValue(s);
}

void AccessDialog::showValue(const Stepper &s)
{
    s.value->setText(s.zeroIsOff && s.ms == 0 ? QStringLiteral("なし") : seconds(s.ms));
    s.value->setAccessibleName(s.value->text());
    if (&s == &scan || &s == &dwell)
        showFollow();
}

void AccessDialog::showKeys()
{
    cmdSelectKey->setText(QStringLiteral("選択スイッチ：%1（押して変える）").arg(KeyName(m_selectKey)));
    cmdMoveKey->setText(QStringLiteral("移動スイッチ：%1（押して変える）").arg(KeyName(m_moveKey)));
}

void AccessDialog::captureKey(ColorButton *button)
{
    m_capturing = button;
    button->setText(QStringLiteral("スイッチのキーを押してください"));
    // Installed last, this filter hears the key before the scanning does.
    qApp->installEventFilter(this);
}

bool AccessDialog::eventFilter(QObject *, QEvent *event)
{
    if (!m_capturing || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    auto *k = static_cast<QKeyEvent *>(event);
    const int key = k->key();
    const bool select = m_capturing == cmdSelectKey;
    // One key for both switches could never choose anything; the held Esc is the way out. Both
    // still reach the scan and the call: with one switch, it is the user's only way to go on.
    if (key == EscapeKey || key == (select ? m_moveKey : m_selectKey)) {
        if (event->type() == QEvent::KeyPress && !k->isAutoRepeat())
            m_capturing->setText(
                key == EscapeKey ? QStringLiteral("Esc は使えません。別のキーを押してください")
                : select ? QStringLiteral("移動スイッチと同じです。別のキーを押してください")
                         : QStringLiteral("選択スイッチと同じです。別のキーを押してください"));
        return false;
    }
    if (event->type() == QEvent::KeyRelease || k->isAutoRepeat())
        return true;
    if (KeyFromName(KeyName(key)) == 0)
        return true;
    (select ? m_selectKey : m_moveKey) = key;
    m_capturing = nullptr;
    qApp->removeEventFilter(this);
    showKeys();
    return true;
}

AccessSettings AccessDialog::shown() const
{
    AccessSettings s;
    s.method = m_methods->checkedId();
    s.dwellMs = dwell.ms;
    s.scanMs = scan.ms;
    s.columnFirst = chkColumn->isChecked();
    s.columnBlocks = chkBlocks->isChecked();
    s.pickFirst = chkPickFirst->isChecked();
    s.longPressMs = longPress.ms;
    s.selectKey = m_selectKey;
    s.moveKey = m_moveKey;
    s.mouseSwitch = chkMouse->isChecked();
    s.highlight = m_colors->checkedId();
    s.speakScan = chkSpeak->isChecked();
    s.ignoreRepeatMs = ignore.ms;
    s.holdMs = hold.ms;
    s.firstRepeatMs = firstRepeat.ms;
    s.callHoldMs = callHold.ms;
    return s;
}

void AccessDialog::cmdOK_Click(int index)
{
    if (m_capturing) {
        m_capturing = nullptr;
        qApp->removeEventFilter(this);
        showKeys();
    }
    if (index == 1) {
        if (WriteAccessSettings(m_store, shown(), &m_saveError))
            WriteFollowSettings(m_store, shownFollow(), &m_saveError);
        accept();
    } else {
        reject();
    }
}
