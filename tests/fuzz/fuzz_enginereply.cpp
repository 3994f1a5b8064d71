// The conversion helper's answers are outside data: any line is parsed and read without harm.
#include "fuzztarget.h"
#include "platform/conversion/mozcreply.h"
#include "platform/conversion/sexp.h"

#include <QString>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    bool ok = false;
    const Sexp answer = Sexp::parse(line, &ok);
    const Sexp *output = answer.value(QStringLiteral("output"));
    const Sexp &read = output ? *output : answer;
    for (const Candidate &c : MozcReply::candidates(read, QStringLiteral("かん")))
        if (c.text.isEmpty() || !c.reading.startsWith(QStringLiteral("かん")))
            std::abort(); // an empty candidate, or one for other kana, is never offered
    for (const Segment &s : MozcReply::preedit(read).segments)
        if (s.forms.size() != 1)
            std::abort();
    return 0;
}
