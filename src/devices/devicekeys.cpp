#include "devices/devicekeys.h"

#include <QPointer>

DeviceKeys::DeviceKeys(DeviceActions &actions, QObject *parent) : QObject(parent), m_actions(actions) {}

void DeviceKeys::setList(const DeviceList &list)
{
    m_list = list;
    m_shown = QList<Shown>(list.keys.size());
    ++m_generation;
}

DeviceKeys::View DeviceKeys::view(int key) const
{
    if (key < 0 || key >= count())
        return {};
    const Shown &s = m_shown[key];
    return {m_list.keys[key].caption, s.line, s.look};
}

void DeviceKeys::show(int key, Look look, const QString &line)
{
    m_shown[key].look = look;
    m_shown[key].line = line;
    emit changed(key);
}

bool DeviceKeys::press(int key)
{
    if (key < 0 || key >= count() || m_shown[key].busy)
        return false;
    const DeviceKey k = m_list.keys[key];
    m_shown[key].busy = true;
    show(key, Look::Busy, tr("送っています…"));
    if (speak && !k.say.isEmpty())
        speak(k.say);
    QPointer<DeviceKeys> self(this);
    const quint64 generation = m_generation;
    m_actions.run(ActionRequest(k, m_list), [self, generation, key, k](const DeviceReply &reply) {
        if (!self || self->m_generation != generation)
            return;
        self->m_shown[key].busy = false;
        if (!reply.ok && reply.timedOut) {
            // A slow device (a bed script, a television warming up) may still be doing it: a second
            // press could undo it. Said as unknown, and its state looked at.
            self->show(key, Look::Unknown, tr("返事がありません（届いたかわかりません）：") + reply.reason);
            if (self->speak)
                self->speak(k.caption + tr("、返事がありません。届いたかわかりません。"));
            self->readState(key);
            return;
        }
        if (!reply.ok) {
            self->show(key, Look::Failed, tr("できません：") + reply.reason);
            if (self->speak)
                self->speak(k.caption + tr("、できませんでした。") + reply.reason);
            return;
        }
        if (!reply.state.isEmpty())
            self->show(key, Look::State, StateWords(reply.state));
        else
            self->show(key, Look::Done, tr("できました"));
        self->readState(key);
    });
    return true;
}

void DeviceKeys::readStates()
{
    for (int key = 0; key < count(); ++key)
        if (!m_shown[key].busy)
            readState(key);
}

void DeviceKeys::readState(int key)
{
    const std::optional<DeviceRequest> request = StateRequest(m_list.keys[key], m_list);
    if (!request)
        return;
    QPointer<DeviceKeys> self(this);
    const quint64 generation = m_generation;
    m_actions.run(*request, [self, generation, key](const DeviceReply &reply) {
        // A press made meanwhile says what it did; a state read never speaks.
        if (!self || self->m_generation != generation || self->m_shown[key].busy)
            return;
        if (reply.ok) {
            // Every key on the same device shows its state (the light's "on" key and its "off" key).
            const QString entity = self->m_list.keys[key].entity;
            for (int other = 0; other < self->count(); ++other)
                if (self->m_list.keys[other].entity == entity && !self->m_shown[other].busy)
                    self->show(other, Look::State, StateWords(reply.state));
        } else if (self->m_shown[key].look != Look::Done)
            self->show(key, Look::Unknown, tr("ようすを読めません：") + reply.reason);
    });
}
