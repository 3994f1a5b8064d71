#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

// Whether the bytes are well-formed UTF-8 holding something beyond ASCII. It
// stops at the first fault, which in a code page 932 file comes with its first
// Japanese character.
bool isUtf8BeyondAscii(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    bool beyond = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        unsigned lowest = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            lowest = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            lowest = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            lowest = 0x10000;
        } else {
            return false;
        }
        unsigned code = c & (0x3F >> more);
        for (int k = 1; k <= more; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        beyond = true;
        i += more + 1;
    }
    return beyond;
}

} // namespace

std::optional<Decoded> decode(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        if (auto text = strictly(utf8Decoder(), bytes.mid(3)))
            return Decoded{*text, Encoding::Utf8WithBom};
        return std::nullopt;
    }
    if (isUtf8BeyondAscii(bytes)) {
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
