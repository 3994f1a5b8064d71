#include "devices/devicelist.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Names the home server uses: lower-case words; nothing that could step out of the request's path.
bool isName(const QString &s)
{
    static const QRegularExpression name(QStringLiteral("^[a-z0-9_]+$"));
    return name.match(s).hasMatch();
}

bool isEntity(const QString &s)
{
    const QStringList parts = s.split(QLatin1Char('.'));
    return parts.size() == 2 && isName(parts[0]) && isName(parts[1]);
}

QString text(const QJsonObject &o, const char *key)
{
    return o.value(QLatin1String(key)).toString().trimmed();
}

// A value of another type than the file's own would be read as empty and written back
// so: it is named instead, and the file left as it is.
QString wrongType(const QJsonObject &o, std::initializer_list<const char *> strings,
                  const char *list = nullptr)
{
    for (const char *key : strings)
        if (const QJsonValue v = o.value(QLatin1String(key)); !v.isUndefined() && !v.isString())
            return QObject::tr("「%1」は文字列にしてください。").arg(QLatin1String(key));
    if (list) {
        const QJsonValue v = o.value(QLatin1String(list));
        const QJsonArray items = v.toArray();
        if (!v.isUndefined() &&
            (!v.isArray() ||
             std::any_of(items.begin(), items.end(), [](const QJsonValue &a) { return !a.isString(); })))
            return QObject::tr("「%1」は文字列の一覧（[\"SEND_ONCE\", \"tv\"] のように）にしてください。")
                .arg(QLatin1String(list));
    }
    return {};
}

} // namespace

QString CheckDeviceKey(const DeviceKey &key, const DeviceList &list)
{
    if (key.caption.trimmed().isEmpty())
        return QObject::tr("キーの名前がありません。");
    if (key.kind == DeviceKey::Kind::Program)
        return key.program.trimmed().isEmpty() ? QObject::tr("実行するプログラムがありません。") : QString();
    const QStringList service = key.service.split(QLatin1Char('.'));
    if (service.size() != 2 || !isName(service[0]) || !isName(service[1]))
        return QObject::tr("サービスは「light.turn_on」のように書いてください。");
    if (!key.entity.isEmpty() && !isEntity(key.entity))
        return QObject::tr("機器は「light.bedroom」のように書いてください。");
    if (!list.server.isValid() ||
        (list.server.scheme() != QLatin1String("http") && list.server.scheme() != QLatin1String("https")) ||
        list.server.host().isEmpty())
        return QObject::tr(
            "Home Assistant のアドレスを「http://homeassistant.local:8123」のように書いてください。");
    if (list.token.trimmed().isEmpty())
        return QObject::tr("Home Assistant のトークンがありません。");
    return {};
}

bool ParseDeviceList(const QByteArray &bytes, DeviceList *list, QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(QObject::tr("JSON として読めません（%1 文字目：%2）。")
                        .arg(parse.offset)
                        .arg(parse.errorString()));
    if (!doc.isObject() || !doc.object().value(QStringLiteral("keys")).isArray())
        return fail(QObject::tr("「keys」の一覧がありません。"));
    const QJsonObject root = doc.object();
    DeviceList out;
    const QJsonValue serverValue = root.value(QStringLiteral("homeassistant"));
    if (!serverValue.isUndefined() && !serverValue.isObject())
        return fail(QObject::tr("「homeassistant」は {\"url\": …, \"token\": …} の形にしてください。"));
    const QJsonObject server = serverValue.toObject();
    if (const QString why = wrongType(server, {"url", "token"}); !why.isEmpty())
        return fail(QStringLiteral("homeassistant：") + why);
    out.server = QUrl(text(server, "url"));
    out.token = text(server, "token");
    const QJsonArray keys = root.value(QStringLiteral("keys")).toArray();
    if (keys.size() > DeviceList::MaxKeys)
        return fail(QObject::tr("キーが多すぎます（%1 個まで）。").arg(DeviceList::MaxKeys));
    for (int i = 0; i < keys.size(); ++i) {
        const QJsonObject o = keys[i].toObject();
        DeviceKey key;
        key.caption = text(o, "caption");
        key.say = text(o, "say");
        if (o.contains(QStringLiteral("program"))) {
            key.program = text(o, "program");
            for (const QJsonValue &a : o.value(QStringLiteral("arguments")).toArray())
                key.arguments << a.toString();
        } else {
            key.kind = DeviceKey::Kind::HomeAssistant;
            key.service = text(o, "service");
            key.entity = text(o, "entity");
        }
        if (const QString why =
                keys[i].isObject()
                    ? wrongType(o, {"caption", "say", "program", "service", "entity"}, "arguments")
                    : QString();
            !why.isEmpty())
            return fail(QObject::tr("%1 番目のキー：").arg(i + 1) + why);
        if (const QString why = CheckDeviceKey(key, out); !keys[i].isObject() || !why.isEmpty())
            return fail(QObject::tr("%1 番目のキー：").arg(i + 1) +
                        (keys[i].isObject() ? why : QObject::tr("形が違います。")));
        out.keys << key;
    }
    *list = out;
    return true;
}

QByteArray SerializeDeviceList(const DeviceList &list)
{
    QJsonArray keys;
    for (const DeviceKey &key : list.keys) {
        QJsonObject o{{QStringLiteral("caption"), key.caption}};
        if (!key.say.isEmpty())
            o.insert(QStringLiteral("say"), key.say);
        if (key.kind == DeviceKey::Kind::Program) {
            o.insert(QStringLiteral("program"), key.program);
            o.insert(QStringLiteral("arguments"), QJsonArray::fromStringList(key.arguments));
        } else {
            o.insert(QStringLiteral("service"), key.service);
            if (!key.entity.isEmpty())
                o.insert(QStringLiteral("entity"), key.entity);
        }
        keys.append(o);
    }
    QJsonObject root{{QStringLiteral("keys"), keys}};
    if (!list.server.isEmpty() || !list.token.isEmpty())
        root.insert(QStringLiteral("homeassistant"),
                    QJsonObject{{QStringLiteral("url"), list.server.toString()},
                                {QStringLiteral("token"), list.token}});
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

DeviceRequest ActionRequest(const DeviceKey &key, const DeviceList &list)
{
    DeviceRequest r;
    if (key.kind == DeviceKey::Kind::Program) {
        r.program = key.program;
        r.arguments = key.arguments;
        return r;
    }
    r.kind = DeviceRequest::Kind::Service;
    r.server = list.server;
    r.token = list.token;
    r.domain = key.service.section(QLatin1Char('.'), 0, 0);
    r.service = key.service.section(QLatin1Char('.'), 1);
    r.entity = key.entity;
    return r;
}

std::optional<DeviceRequest> StateRequest(const DeviceKey &key, const DeviceList &list)
{
    if (key.kind != DeviceKey::Kind::HomeAssistant || key.entity.isEmpty())
        return std::nullopt;
    DeviceRequest r = ActionRequest(key, list);
    r.kind = DeviceRequest::Kind::State;
    return r;
}

QString MaskedToken(const QString &token)
{
    if (token.isEmpty())
        return {};
    // Four characters of a long token tell two apart; a short one shows none.
    const QString tail = token.size() >= 20 ? token.right(4) : QString();
    return QString(8, QChar(0x2022)) + tail;
}

QString StateWords(const QString &state)
{
    // The states of a light or a switch, a bed or a curtain as a cover, and a television as a media player.
    static const struct
    {
        const char *state;
        const char *words;
    } said[] = {{"on", "ついています"},
                {"off", "消えています"},
                {"open", "開いています"},
                {"closed", "閉じています"},
                {"opening", "開いているところです"},
                {"closing", "閉じているところです"},
                {"playing", "再生しています"},
                {"paused", "止めてあります"},
                {"idle", "待っています"},
                {"standby", "待っています"},
                {"buffering", "読みこんでいます"},
                {"unavailable", "ようすがわかりません"},
                {"unknown", "ようすがわかりません"}};
    for (const auto &s : said)
        if (state == QLatin1String(s.state))
            return QString::fromUtf8(s.words);
    // A number (a bed's angle, a temperature) says itself; another word is the server's.
    bool number = false;
    state.toDouble(&number);
    return number ? state : QStringLiteral("ようす：") + state;
}
