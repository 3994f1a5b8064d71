#pragma once

#include "platform/character.h"
#include "platform/characterfile.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/settingsstore.h"

#include <QDialog>
#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

// A character that records every call as one line, e.g. "speak か".
class RecordingCharacter final : public Character
{
public:
    explicit RecordingCharacter(QStringList *log) : m_log(log) {}
    void setLanguageId(int id) override { *m_log << QStringLiteral("language %1").arg(id); }
    void show() override { *m_log << QStringLiteral("show"); }
    void moveTo(int x, int y) override { *m_log << QStringLiteral("move %1 %2").arg(x).arg(y); }
    void fitHeight(int pixels) override { *m_log << QStringLiteral("fit %1").arg(pixels); }
    void play(const QString &a) override { *m_log << QStringLiteral("play ") + a; }
    void speak(const QString &text) override
    {
        *m_log << QStringLiteral("speak ") + text;
        speaking = true;
    }
    void stop() override
    {
        *m_log << QStringLiteral("stop");
        speaking = false;
    }
    bool isSpeaking() const override { return speaking; }
    bool speaking = false;
    void setMuteHandler(std::function<void()> handler) override { muted = std::move(handler); }

    // What the program does when the voice cannot be heard.
    std::function<void()> muted;

private:
    QStringList *m_log;
};

class RecordingAgent final : public Agent
{
public:
    bool load(const QString &name, const QString &file, QString *error) override
    {
        log << QStringLiteral("load %1").arg(name);
        if (!readCharacterFile(file, error))
            return false;
        m_name = name;
        m_character = std::make_unique<RecordingCharacter>(&log);
        return true;
    }
    Character *character(const QString &name) override
    {
        log << QStringLiteral("character %1").arg(name);
        return name == m_name ? m_character.get() : nullptr;
    }
    // The speech requests only, in order.
    QStringList spoken() const
    {
        QStringList s;
        for (const QString &line : log)
            if (line.startsWith(QLatin1String("speak ")))
                s << line.mid(6);
        return s;
    }

    RecordingCharacter *recording() const { return m_character.get(); }
    QStringList log;

private:
    QString m_name;
    std::unique_ptr<RecordingCharacter> m_character;
};

// Keeps values in memory; a write can be made to fail as a read-only store does.
class MemorySettingsStore final : public SettingsStore
{
public:
    QString read(const QString &key, const QString &defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    bool write(const Values &written, QString *error) override
    {
        if (failWrites) {
            if (error)
                *error = failWhy;
            if (keepsFailedWrites) // as Qt's settings do for the rest of the run
                for (const auto &[key, value] : written)
                    values.insert(key, value);
            return false;
        }
        for (const auto &[key, value] : written)
            values.insert(key, value);
        return true;
    }

    QHash<QString, QString> values;
    bool failWrites = false;
    QString failWhy = QStringLiteral("設定を保存できませんでした。");
    bool keepsFailedWrites = false;
};

class CountingBeeper final : public Beeper
{
public:
    void beep() override { ++count; }
    int count = 0;
};

class MemoryClipboard final : public Clipboard
{
public:
    void clear() override { content.clear(); }
    void setText(const QString &text) override { content = text; }
    QString text() const override { return content; }
    QString content;
};

class RecordingShell final : public Shell
{
public:
    bool open(const QUrl &url) override
    {
        opened << url;
        return accepts;
    }
    QList<QUrl> opened;
    bool accepts = true;
};

class FixedClock final : public Clock
{
public:
    QDate today() const override { return date; }
    QDate date = QDate(2026, 12, 8);
};

// Answers modal dialogs in order: each answer gets the dialog and works its controls.
// A dialog with no answer queued is closed without a button.
class ScriptedRunner final : public ModalRunner
{
public:
    using Answer = std::function<void(QDialog &)>;
    void run(QDialog &dialog) override
    {
        shown << dialog.objectName();
        if (answers.empty()) {
            dialog.reject();
            return;
        }
        Answer a = std::move(answers.front());
        answers.pop_front();
        a(dialog);
    }
    std::deque<Answer> answers;
    QStringList shown;
};
