#include "platform/conversion/mozcreply.h"

#include "platform/conversion/sexp.h"

namespace MozcReply {

QString text(const Sexp *s)
{
    return s && !s->isList() ? s->text : QString();
}

QString quoted(const QString &s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

std::vector<Candidate> candidates(const Sexp &output, const QString &typed)
{
    std::vector<Candidate> out;
    const Sexp *all = output.value(QStringLiteral("all-candidate-words"));
    if (!all)
        return out;
    for (const Sexp *c : all->entries(QStringLiteral("candidates"))) {
        const QString value = text(c->value(QStringLiteral("value")));
        QString reading = text(c->value(QStringLiteral("key")));
        // A candidate without a reading of its own stands for what was typed.
        if (reading.isEmpty() || !reading.startsWith(typed))
            reading = typed;
        if (!value.isEmpty())
            out.push_back({value, reading});
    }
    return out;
}

Preedit preedit(const Sexp &output)
{
    Preedit p;
    const Sexp *pre = output.value(QStringLiteral("preedit"));
    if (!pre)
        return p;
    int i = 0;
    for (const Sexp *seg : pre->entries(QStringLiteral("segment"))) {
        p.segments.push_back(
            {text(seg->value(QStringLiteral("key"))), {text(seg->value(QStringLiteral("value")))}});
        if (text(seg->value(QStringLiteral("annotation"))) == u"highlight")
            p.focused = i;
        ++i;
    }
    return p;
}

} // namespace MozcReply
