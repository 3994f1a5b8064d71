#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The entry files' encodings: code page 932 (Windows-31J) as a first start
// writes them, UTF-8 as other editors do, and UTF-8 with a byte-order mark for
// text that code page 932 cannot hold.
namespace TextCodec {

enum class Encoding { CodePage932, Utf8, Utf8WithBom };

struct Decoded
{
    QString text;
    Encoding encoding;
};

// A byte-order mark means UTF-8; without one, bytes that are valid in only one
// of UTF-8 and code page 932 are read in that one, and bytes valid in both in
// the one whose reading looks more like Japanese text (plain ASCII, and a tie,
// go to code page 932). Empty when the bytes are none of these, including a
// character cut off at the end.
std::optional<Decoded> decode(const QByteArray &bytes);

// The text in the given encoding where it can hold it and where the bytes read
// back in that encoding, else UTF-8 with a mark.
QByteArray encode(const QString &text, Encoding encoding = Encoding::CodePage932);

} // namespace TextCodec
