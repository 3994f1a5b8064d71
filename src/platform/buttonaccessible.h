#pragma once

#include <QAccessibleWidget>
#include <QHash>

class QAbstractButton;

// How assistive tools see a command button. Its name is the word it shows, so
// that it always matches the caption and follows it (the button announces the
// change itself when its caption is set); a button that shows a symbol is named
// by the word the program gives for what it does. A name set on the button
// still comes first; a longer explanation goes in its description.
class ButtonAccessible final : public QAccessibleWidget
{
public:
    explicit ButtonAccessible(QAbstractButton *button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    // The name a button has now, as assistive tools and spoken scanning say it.
    static QString nameOf(const QAbstractButton *button);
    // The words for the symbols the program shows on its buttons ("♪" → "止める").
    static void setSymbolWords(const QHash<QString, QString> &words);
    static const QHash<QString, QString> &symbolWords();

    // Makes the program's buttons report themselves this way; called once by each button.
    static void install();

private:
    QAbstractButton *button() const;
};
