#include "entries/maillink.h"

#include "entries/entryformat.h"

#include <QUrl>

namespace MailLink {

namespace {

const QString Scheme = QStringLiteral("mailto:");

QByteArray encoded(QString text)
{
    // Line breaks travel as CR LF, whatever the text box held.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QUrl::toPercentEncoding(text);
}

} // namespace

QByteArray build(const QString &address, const QString &subject, const QString &body)
{
    QString to = address;
    if (to.left(Scheme.size()).toLower() == Scheme)
        to = to.mid(Scheme.size());
    return Scheme.toLatin1() + QUrl::toPercentEncoding(to, "@") +
           "?subject=" + encoded(EntryFormat::withoutMarker(subject)) +
           // The cursor marker is an editing aid, not part of what is sent.
           "&body=" + encoded(EntryFormat::withoutMarker(body));
}

} // namespace MailLink
