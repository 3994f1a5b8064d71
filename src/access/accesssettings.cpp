#include "access/accesssettings.h"

#include "platform/settingsstore.h"

#include <QKeySequence>
#include <QObject>

namespace {

int readInt(const SettingsStore &store, const QString &key, int low, int high, int defaultValue,
            bool zeroMeansOff = false)
{
    bool ok = false;
    const int value = store.read(key, QString::number(defaultValue)).trimmed().toInt(&ok);
    if (!ok)
        return defaultValue;
    if (zeroMeansOff && value == 0)
        return 0;
    return value >= low && value <= high ? value : defaultValue;
}

int readKey(const SettingsStore &store, const QString &key, int defaultKey)
{
    const int k = KeyFromName(store.read(key, KeyName(defaultKey)));
    return k != 0 ? k : defaultKey;
}

} // namespace

QColor AccessSettings::highlightColor() const
{
    switch (highlight) {
    case 1:
        return QColor(0xFF, 0x80, 0x00);
    case 2:
        return QColor(0xFF, 0xE0, 0x00);
    default:
        return QColor(0xFF, 0x00, 0xFF);
    }
}

QString KeyName(int key)
{
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

int KeyFromName(const QString &name)
{
    const QKeySequence seq = QKeySequence::fromString(name.trimmed(), QKeySequence::PortableText);
    if (seq.count() != 1)
        return 0;
    const int key = seq[0].key();
    // A modifier alone, or an unknown name, is no switch.
    return key == Qt::Key_unknown || seq[0].keyboardModifiers() != Qt::NoModifier ? 0 : key;
}

AccessSettings ReadAccessSettings(const SettingsStore &store)
{
    AccessSettings d; // the defaults
    AccessSettings s;
    s.method = readInt(store, QStringLiteral("Method"), 0, 3, d.method);
    s.dwellMs = readInt(store, QStringLiteral("DwellMs"), 300, 3000, d.dwellMs);
    s.scanMs = readInt(store, QStringLiteral("ScanMs"), 300, 5000, d.scanMs);
    s.columnFirst = readInt(store, QStringLiteral("ColumnFirst"), 0, 1, 0) == 1;
    s.columnBlocks = readInt(store, QStringLiteral("ColumnBlocks"), 0, 1, 0) == 1;
    s.pickFirst = readInt(store, QStringLiteral("PickFirst"), 0, 1, 0) == 1;
    s.longPressMs = readInt(store, QStringLiteral("LongPressMs"), 500, 3000, d.longPressMs, true);
    s.selectKey = readKey(store, QStringLiteral("SelectKey"), d.selectKey);
    s.moveKey = readKey(store, QStringLiteral("MoveKey"), d.moveKey);
    s.mouseSwitch = readInt(store, QStringLiteral("MouseSwitch"), 0, 1, 0) == 1;
    s.highlight = readInt(store, QStringLiteral("Highlight"), 0, 2, d.highlight);
    s.speakScan = readInt(store, QStringLiteral("SpeakScan"), 0, 1, 0) == 1;
    s.ignoreRepeatMs = readInt(store, QStringLiteral("IgnoreRepeatMs"), 100, 2000, d.ignoreRepeatMs, true);
    s.holdMs = readInt(store, QStringLiteral("HoldMs"), 50, 2000, d.holdMs, true);
    s.firstRepeatMs = readInt(store, QStringLiteral("FirstRepeatMs"), 230, 2000, d.firstRepeatMs);
    s.callHoldMs = readInt(store, QStringLiteral("CallHoldMs"), 2000, 10000, d.callHoldMs);
    return WithoutSwitchClash(s);
}

bool SwitchesClash(const AccessSettings &s)
{
    return s.method == AccessSettings::TwoSwitch && s.selectKey == s.moveKey;
}

AccessSettings WithoutSwitchClash(AccessSettings s)
{
    if (!SwitchesClash(s))
        return s;
    // Moving would win every press and nothing could be chosen: the one switch
    // goes on alone, as one-switch scanning, with the move key as if never set.
    s.method = AccessSettings::OneSwitch;
    s.moveKey =
        s.selectKey == AccessSettings().moveKey ? AccessSettings().selectKey : AccessSettings().moveKey;
    return s;
}

QString SwitchClashNotice(const SettingsStore &store)
{
    AccessSettings s;
    s.method = readInt(store, QStringLiteral("Method"), 0, 3, s.method);
    s.selectKey = readKey(store, QStringLiteral("SelectKey"), s.selectKey);
    s.moveKey = readKey(store, QStringLiteral("MoveKey"), s.moveKey);
    if (!SwitchesClash(s))
        return {};
    return QObject::tr("操作方法の設定で、選択スイッチと移動スイッチが同じキー（%1）になっていました。"
                       "これでは選べないので、スイッチ１つ（自動で動く）で動かします。\n"
                       "直すには「設定」→「操作方法…」を開いてください。"
                       "Esc キーを３秒押し続けても開きます。")
        .arg(KeyName(s.selectKey));
}

bool WriteAccessSettings(SettingsStore &store, const AccessSettings &s, QString *error)
{
    const auto n = [](int v) { return QString::number(v); };
    return store.write({{QStringLiteral("Method"), n(s.method)},
                        {QStringLiteral("DwellMs"), n(s.dwellMs)},
                        {QStringLiteral("ScanMs"), n(s.scanMs)},
                        {QStringLiteral("ColumnFirst"), n(s.columnFirst)},
                        {QStringLiteral("ColumnBlocks"), n(s.columnBlocks)},
                        {QStringLiteral("PickFirst"), n(s.pickFirst)},
                        {QStringLiteral("LongPressMs"), n(s.longPressMs)},
                        {QStringLiteral("SelectKey"), KeyName(s.selectKey)},
                        {QStringLiteral("MoveKey"), KeyName(s.moveKey)},
                        {QStringLiteral("MouseSwitch"), n(s.mouseSwitch)},
                        {QStringLiteral("Highlight"), n(s.highlight)},
                        {QStringLiteral("SpeakScan"), n(s.speakScan)},
                        {QStringLiteral("IgnoreRepeatMs"), n(s.ignoreRepeatMs)},
                        {QStringLiteral("HoldMs"), n(s.holdMs)},
                        {QStringLiteral("FirstRepeatMs"), n(s.firstRepeatMs)},
                        {QStringLiteral("CallHoldMs"), n(s.callHoldMs)}},
                       error);
}
