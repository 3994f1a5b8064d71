#pragma once

#include <QByteArray>
#include <QString>

// The "mailto:" link a mail is handed over as, encoded so that every
// character of the subject and body arrives as written; one trailing cursor
// marker "_" is left off each.
namespace MailLink {

QByteArray build(const QString &address, const QString &subject, const QString &body);

} // namespace MailLink
