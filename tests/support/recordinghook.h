#pragma once

#include "platform/commandhook.h"

#include <QStringList>

// A bell command that only notes the argument of each run; fail() makes the last one fail.
class RecordingHook final : public CommandHook
{
public:
    void run(const QString &lastArgument) override { runs << lastArgument; }
    void fail(Failure::Kind kind)
    {
        Failure f;
        f.kind = kind;
        f.program = QStringLiteral("bell");
        f.argument = runs.value(runs.size() - 1);
        if (onFailure)
            onFailure(f);
    }
    QStringList runs;
};
