#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The entry files' encoding: code page 932 (Windows-31J), or UTF-8 with a
// byte-order mark when the text holds characters code page 932 cannot.
namespace TextCodec {

// The text of a file; empty when the bytes are neither.
std::optional<QString> decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

} // namespace TextCodec
