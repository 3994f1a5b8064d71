#include "platform/textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace TextCodec {

namespace {

const char *const CodePage932 = "windows-31j";
const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

} // namespace

std::optional<QString> decode(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(bytes.mid(3));
        if (utf8.hasError())
            return std::nullopt;
        return text;
    }
    QStringDecoder cp932(CodePage932);
    if (cp932.isValid()) {
        QString text = cp932(bytes);
        if (!cp932.hasError())
            return text;
    }
    // A file written by another editor as UTF-8 without a mark.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

QByteArray encode(const QString &text)
{
    QStringEncoder cp932(CodePage932);
    if (cp932.isValid()) {
        QByteArray bytes = cp932(text);
        if (!cp932.hasError())
            return bytes;
    }
    return Utf8Bom + text.toUtf8();
}

} // namespace TextCodec
