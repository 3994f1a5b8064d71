#pragma once

#include "platform/deviceactions.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// One key of the devices screen and what it does.
struct DeviceKey
{
    enum class Kind { Program, HomeAssistant };
    QString caption;
    QString say; // spoken when pressed ("テレビをつけます"); empty: nothing
    Kind kind = Kind::Program;
    QString program; // a program key: run without a shell
    QStringList arguments;
    QString service; // a home server key: "light.turn_on" for the entity "light.bedroom"
    QString entity;

    bool operator==(const DeviceKey &) const = default;
};

// The devices file: the keys in their order, and the home server they share.
struct DeviceList
{
    static constexpr int MaxKeys = 24; // keys stay at least 44 px high on the screen

    QUrl server;
    QString token;
    QList<DeviceKey> keys;

    bool operator==(const DeviceList &) const = default;
};

// Reads the devices file; false, saying what is wrong and where, when it is not one.
bool ParseDeviceList(const QByteArray &bytes, DeviceList *list, QString *error);
QByteArray SerializeDeviceList(const DeviceList &list);

// What is wrong with a key as it stands in a list; empty when it can be used.
QString CheckDeviceKey(const DeviceKey &key, const DeviceList &list);

// The request a press of the key makes, and the one that reads its state (none
// for a program key, or a service without an entity).
DeviceRequest ActionRequest(const DeviceKey &key, const DeviceList &list);
std::optional<DeviceRequest> StateRequest(const DeviceKey &key, const DeviceList &list);

// A token as the setup dialog shows it: never whole, only enough to tell it from another.
QString MaskedToken(const QString &token);
// A state as the key shows it, in words.
QString StateWords(const QString &state);
