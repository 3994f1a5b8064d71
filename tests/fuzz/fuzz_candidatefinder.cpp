// The candidate finder on any answer of the engine: segments and predictions from the input.
// Input: the typed run on the first line; then "reading<TAB>form<TAB>form…" per segment; a line
// "=text<TAB>reading" is a prediction.
#include "board/candidatefinder.h"
#include "board/kanaforms.h"
#include "fuzztarget.h"
#include "platform/conversion/wordlist.h"

#include <QStringList>

namespace {

class ScriptedEngine final : public ConversionEngine
{
public:
    std::vector<Segment> convert(const QString &) override { return segments; }
    std::vector<Candidate> predict(const QString &) override { return predictions; }
    bool working() const override { return true; }
    QString problem() const override { return {}; }
    std::vector<Segment> segments;
    std::vector<Candidate> predictions;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(u'\n');
    ScriptedEngine engine;
    for (const QString &line : lines.mid(1, 64)) {
        QStringList cells = line.split(u'\t');
        if (line.startsWith(u'='))
            engine.predictions.push_back({cells.value(0).mid(1), cells.value(1)});
        else
            engine.segments.push_back({cells.takeFirst(), cells});
    }
    WordList care;
    care.add(QStringLiteral("て"), QStringLiteral("てください"));
    care.add(QStringLiteral("きゅういん"), QStringLiteral("吸引"));
    CandidateFinder finder(&engine, nullptr, &care);
    const QString run = lines.value(0).left(64);
    for (const Candidate &c : finder.forRun(run))
        finder.after(c.text, c.reading);
    for (const Segment &s : engine.segments)
        for (const QString &f : s.forms)
            KanaForms::withDigits(f);
    return 0;
}
