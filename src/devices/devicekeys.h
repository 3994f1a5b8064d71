#pragma once

#include "devices/devicelist.h"

#include <QObject>
#include <functional>

// The keys of the devices screen as data: what each shows (its caption, and
// the last result or the device's state) and what a press sends. A press on a
// key whose action is still under way sends nothing, so a switch held down or a
// dwell that rests on it sends one action, not a stream.
class DeviceKeys final : public QObject
{
    Q_OBJECT
public:
    // Unknown: no answer in time, or the state could not be read; what the device did is not known,
    // and a second press could undo it.
    enum class Look { Idle, Busy, Done, Failed, Unknown, State };
    struct View
    {
        QString caption;
        QString line; // under the caption: the result, the reason, or the state
        Look look = Look::Idle;
    };

    explicit DeviceKeys(DeviceActions &actions, QObject *parent = nullptr);

    // New keys: what the old ones still wait for is not shown on them.
    void setList(const DeviceList &list);
    const DeviceList &list() const { return m_list; }
    int count() const { return int(m_list.keys.size()); }
    View view(int key) const;

    // False when the press sent nothing (the key is still busy, or there is no such key).
    bool press(int key);
    // Reads the state of every key that has one and is not busy.
    void readStates();

    // Says a key's confirmation, and a failure's reason once.
    std::function<void(const QString &)> speak;

signals:
    void changed(int key);

private:
    struct Shown
    {
        Look look = Look::Idle;
        QString line;
        bool busy = false;
    };
    void show(int key, Look look, const QString &line);
    void readState(int key);

    DeviceActions &m_actions;
    DeviceList m_list;
    QList<Shown> m_shown;
    quint64 m_generation = 0; // which list a reply belongs to
};
