#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

// The character file: "key = value" lines, "#" starts a comment. Keys:
//   name            the character's name (Genie)
//   figure.body     body colour, #rrggbb
//   figure.face     face colour, #rrggbb
//   figure.size     figure height in pixels (80..600)
//   voice.engines   engines to try, in order: openjtalk, espeak, silent
//   voice.file      Open JTalk voice file (.htsvoice)
//   voice.speed     speaking rate (0.5..2.0)
//   voice.pitch     pitch shift in semitones (-12..12)
//   voice.volume    loudness (0.0..1.0)
// A missing or unusable value takes its default.
struct CharacterSheet
{
    QString name = QStringLiteral("Genie");
    QColor body = QColor(0x3b, 0x7d, 0xd8);
    QColor face = QColor(0xff, 0xe0, 0xbd);
    int size = 200;
    QStringList engines = {QStringLiteral("openjtalk"), QStringLiteral("espeak"), QStringLiteral("silent")};
    QString voiceFile =
        QStringLiteral("/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice");
    double speed = 1.0;
    double pitch = 0.0;
    double volume = 1.0;
};

CharacterSheet parseCharacterSheet(const QString &text);

// Reads and parses a character file; empty with a message naming the file when it cannot be read.
std::optional<CharacterSheet> readCharacterFile(const QString &path, QString *error);
