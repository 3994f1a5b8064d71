// Runs a fuzz target on every file of its seed corpus, as a test of the normal and sanitizer builds.
#include "fuzztarget.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 2;
    }
    for (const QString &name : files) {
        QFile f(corpus.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray bytes = f.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        std::printf("%s: ok\n", qPrintable(name));
    }
    return 0;
}
