// The learnt words' file may be damaged or edited by hand: any file loads, any word noted round-trips.
#include "fuzztarget.h"
#include "platform/conversion/learningstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(LearningStore::FileName);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::abort();
    }
    LearningStore store(path);
    store.load();
    // The input's own text as a reading and a word, noted on top of what the file held.
    const QString text = QString::fromUtf8(bytes).left(64);
    const QString reading = text.left(text.size() / 2), word = text.mid(text.size() / 2);
    // Only text a user can write: a half of a surrogate pair cut off here is no text.
    if (QString::fromUtf8(text.toUtf8()) != text)
        return 0;
    store.noteTaken(reading, word);
    store.noteSeen(reading, word);
    store.noteFollows(word, reading, word);
    if (!store.save())
        std::abort();
    LearningStore back(path);
    if (!back.load())
        std::abort();
    if (!reading.isEmpty() && !word.isEmpty()) {
        if (back.wordsFor(reading).value(0) != word)
            std::abort(); // what was taken last comes first, whatever it holds
        bool follows = false;
        for (const Candidate &c : back.following(word, 8))
            follows = follows || (c.text == word && c.reading == reading);
        if (!follows)
            std::abort();
    }
    return 0;
}
