#pragma once

#include "app/settings.h"
#include "platform/services.h"

#include <QString>
#include <QStringList>
#include <optional>

class Character;
class QWidget;

// What several subsystems read and write: the options, the list row and the
// entry being edited, the last picked text, the last confirmation answer, the
// sentences offered while typing, and the services.
struct SharedState
{
    Services sv;
    Character *gCharacter = nullptr; // set once the character is loaded
    QWidget *dialogParent = nullptr; // the main window, over which dialogs open

    Settings settings;
    qint32 gListRow = 0;
    qint32 EditRow = 0;
    QString gPickText;
    bool OKAnswer = false;
    std::optional<QStringList> SampleTexts;

    // Sounds the key beep when the option is on.
    void keyBeep();
};
