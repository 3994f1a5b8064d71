#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The speaking character: an on-screen figure with a Japanese voice.
// Speak returns at once while the speech goes on; Stop ends it.
class Character
{
public:
    virtual ~Character() = default;
    virtual void setLanguageId(int languageId) = 0;
    virtual void show() = 0;
    virtual void moveTo(int x, int y) = 0; // screen pixels
    // Keeps the figure at most this many pixels tall (its width follows).
    virtual void fitHeight(int) {}
    virtual void play(const QString &animation) = 0;
    virtual void speak(const QString &text) = 0;
    virtual void stop() = 0;
    // Whether something asked for is still being said (or about to be).
    virtual bool isSpeaking() const { return false; }
    // Speaks from now on at this speed and pitch (half-tones); a character may ignore it.
    virtual void adjustVoice(double /*speed*/, double /*pitch*/) {}
    // Makes these texts ready to be said at once later; a character may ignore it.
    virtual void prepare(const QStringList &) {}
    // Called once, on the user-interface thread, when the voice cannot be heard:
    // already at start (no engine or no sound output; the handler is called soon
    // after it is set), or later when speaking keeps failing. Never for a
    // character that is silent by choice.
    virtual void setMuteHandler(std::function<void()>) {}
};

// Loads characters from character files and hands them out by name.
class Agent
{
public:
    virtual ~Agent() = default;
    // False, with a message naming the file, when the character cannot be loaded.
    virtual bool load(const QString &name, const QString &file, QString *error) = 0;
    // The character loaded under this name; null when there is none.
    virtual Character *character(const QString &name) = 0;
};
