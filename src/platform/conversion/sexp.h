#pragma once

#include <QString>
#include <vector>

// The small s-expression language a conversion helper answers in:
// lists, symbols, numbers and quoted strings, with (key . value) pairs.
struct Sexp
{
    enum class Kind { List, Symbol, String };
    Kind kind = Kind::List;
    QString text;
    std::vector<Sexp> items;

    // Parses one expression; nothing (an empty list) when the text is not one.
    static Sexp parse(const QString &text, bool *ok = nullptr);

    bool isList() const { return kind == Kind::List; }
    // In an association list, the value of `key`: the part after the dot of
    // (key . value), or the rest of (key item item …) as a list.
    const Sexp *value(const QString &key) const;
    // The members of the list (key item item …) after the key.
    std::vector<const Sexp *> entries(const QString &key) const;
};
