#pragma once

#include "platform/services.h"
#include "shared/settings.h"
#include "shared/talkstate.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Character;
class QWidget;

// What several subsystems read and write: the window's state, the options, the
// sentences offered while typing, and the services.
struct SharedState
{
    SharedState(const Services &services, QWidget *dialogs) : sv(services), dialogParent(dialogs) {}

    Services sv;
    Character *gCharacter = nullptr; // set once the character is loaded
    QWidget *dialogParent = nullptr; // the main window, over which dialogs open

    TalkState state;
    Settings settings;
    std::optional<QStringList> SampleTexts;
    // Set while kanji candidates are on: a stored sentence's reading, and
    // learning from a sentence the user read aloud, kept or sent.
    std::function<QString(const QString &)> readingOf;
    std::function<void(const QString &)> learnSentence;
    // Calls for help; empty while the call is off. Dialogs show a call key while it is set.
    std::function<void()> callForHelp;
    // The user presses by touch and mouse alone, with no scan and no dwell: a desktop's own dialogs
    // (which neither reach) may be offered.
    bool touchAndMouseOnly = true;

    // Sounds the key beep when the option is on.
    void keyBeep();
    // Teaches the candidates a sentence, when they are on.
    void learn(const QString &sentence)
    {
        if (learnSentence)
            learnSentence(sentence);
    }
};
