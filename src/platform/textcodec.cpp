#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace TextCodec {

namespace {

const char *const CodePage932 = "windows-31j";
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

// The whole of the bytes, or nothing: an undecodable byte or a sequence cut
// off at the end is an error, never dropped.
std::optional<QString> strictly(QStringDecoder decoder, const QByteArray &bytes)
{
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QStringDecoder utf8Decoder()
{
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::optional<Decoded> decode(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        if (auto text = strictly(utf8Decoder(), bytes.mid(3)))
            return Decoded{*text, Encoding::Utf8WithBom};
        return std::nullopt;
    }
    if (!isAscii(bytes)) {
        if (auto text = strictly(utf8Decoder(), bytes))
            return Decoded{*text, Encoding::Utf8};
    }
    if (auto text = strictly(QStringDecoder(CodePage932, QStringConverter::Flag::Stateless), bytes))
        return Decoded{*text, Encoding::CodePage932};
    return std::nullopt;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf8WithBom:
        break;
    case Encoding::CodePage932: {
        QStringEncoder cp932(CodePage932, QStringConverter::Flag::Stateless);
        if (cp932.isValid()) {
            QByteArray bytes = cp932(text);
            if (!cp932.hasError())
                return bytes;
        }
        break;
    }
    }
    return Utf8Bom + text.toUtf8();
}

} // namespace TextCodec
