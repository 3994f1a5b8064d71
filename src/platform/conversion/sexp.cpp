#include "platform/conversion/sexp.h"

namespace {

class Parser
{
public:
    explicit Parser(const QString &t) : m_t(t) {}

    bool parse(Sexp &out)
    {
        skip();
        if (m_i >= m_t.size())
            return false;
        const QChar c = m_t[m_i];
        if (c == u'(') {
            ++m_i;
            out.kind = Sexp::Kind::List;
            for (;;) {
                skip();
                if (m_i >= m_t.size())
                    return false;
                if (m_t[m_i] == u')') {
                    ++m_i;
                    return true;
                }
                Sexp item;
                if (!parse(item))
                    return false;
                out.items.push_back(std::move(item));
            }
        }
        if (c == u')')
            return false;
        if (c == u'"') {
            ++m_i;
            out.kind = Sexp::Kind::String;
            while (m_i < m_t.size() && m_t[m_i] != u'"') {
                if (m_t[m_i] == u'\\' && m_i + 1 < m_t.size())
                    ++m_i;
                out.text += m_t[m_i++];
            }
            if (m_i >= m_t.size())
                return false;
            ++m_i;
            return true;
        }
        out.kind = Sexp::Kind::Symbol;
        while (m_i < m_t.size() && !m_t[m_i].isSpace() && m_t[m_i] != u'(' && m_t[m_i] != u')')
            out.text += m_t[m_i++];
        return true;
    }

private:
    void skip()
    {
        while (m_i < m_t.size() && m_t[m_i].isSpace())
            ++m_i;
    }

    const QString &m_t;
    qsizetype m_i = 0;
};

bool isKey(const Sexp &pair, const QString &key)
{
    return pair.isList() && !pair.items.empty() && pair.items[0].kind == Sexp::Kind::Symbol &&
           pair.items[0].text == key;
}

bool isDotted(const Sexp &pair)
{
    return pair.items.size() == 3 && pair.items[1].kind == Sexp::Kind::Symbol && pair.items[1].text == u".";
}

} // namespace

Sexp Sexp::parse(const QString &text, bool *ok)
{
    Sexp s;
    const bool parsed = Parser(text).parse(s);
    if (!parsed)
        s = Sexp();
    if (ok)
        *ok = parsed;
    return s;
}

const Sexp *Sexp::value(const QString &key) const
{
    for (const Sexp &pair : items)
        if (isKey(pair, key) && isDotted(pair))
            return &pair.items[2];
    return nullptr;
}

std::vector<const Sexp *> Sexp::entries(const QString &key) const
{
    std::vector<const Sexp *> out;
    for (const Sexp &pair : items)
        if (isKey(pair, key) && !isDotted(pair))
            for (size_t i = 1; i < pair.items.size(); ++i)
                out.push_back(&pair.items[i]);
    return out;
}
