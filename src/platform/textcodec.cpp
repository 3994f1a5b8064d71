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
// stops at the first fault, which in a code page 932 file mostly comes with its
// first Japanese character.
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

// Whether the bytes have the shape of code page 932: every lead byte followed
// by a trail byte. Stops at the first fault, so UTF-8 Japanese costs little.
bool looksLikeCodePage932(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (i + 1 >= n || p[i + 1] < 0x40 || p[i + 1] == 0x7F || p[i + 1] > 0xFC)
                return false;
            ++i;
        } else if (c == 0x80 || c >= 0xFD) {
            return false;
        }
    }
    return true;
}

// The JIS level of a kanji in code page 932: 1 for the common first level, 2
// for the second level and the vendor extensions, 0 when it has none.
int kanjiLevel(QChar c)
{
    static QStringEncoder encoder(CodePage932, QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return 0;
    const QByteArray b = encoder(QStringView(&c, 1));
    if (encoder.hasError() || b.size() != 2) {
        encoder.resetState();
        return 0;
    }
    const unsigned lead = uchar(b[0]), code = (lead << 8) | uchar(b[1]);
    return code >= 0x889F && code <= 0x9872 ? 1 : 2;
}

// How much one character looks like what a Japanese text holds, roughly as the
// logarithm of how often it appears: common kana, kanji and punctuation score
// high; Latin-1 letters, control codes and private characters, which are what
// a text read in the wrong encoding turns into, score low.
int plausibility(char32_t u, QChar c)
{
    if (u == '\t' || u == '\n' || u == '\r' || (u >= 0x20 && u < 0x7F))
        return 0; // the same in both readings
    if (u < 0x20 || (u >= 0x7F && u < 0xA0))
        return -6;
    if (u < 0x100)
        return -4; // Latin-1 letters and signs: "ò" is what code page 932 kana become
    if ((u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FC) || u == 0x3001 || u == 0x3002 ||
        (u >= 0x300C && u <= 0x300F) || u == 0x30FB || u == 0x3000)
        return 3;
    if (u >= 0x4E00 && u <= 0x9FFF) {
        switch (kanjiLevel(c)) {
        case 1:
            return 2;
        case 2:
            return -1;
        default:
            return -2;
        }
    }
    if (u >= 0xFF61 && u <= 0xFF9F)
        return 1; // half-width kana: ordinary in code page 932 files
    if ((u >= 0xFF01 && u <= 0xFF5E) || (u >= 0x3003 && u <= 0x301F))
        return 1;
    if ((u >= 0xE000 && u <= 0xF8FF) || u == 0xFFFD)
        return -6;
    if (u >= 0x10000)
        return 0; // emoji and rare kanji: only UTF-8 holds them
    return -2;    // Greek, Cyrillic, box drawing, signs: seldom in a sentence
}

int plausibility(const QString &text)
{
    int score = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            score += plausibility(QChar::surrogateToUcs4(c, text[i + 1]), c);
            ++i;
        } else {
            score += plausibility(c.unicode(), c);
        }
    }
    return score;
}

} // namespace

std::optional<Decoded> decode(const QByteArray &bytes)
{
    if (bytes.startsWith(Utf8Bom)) {
        if (auto text = strictly(utf8Decoder(), bytes.mid(3)))
            return Decoded{*text, Encoding::Utf8WithBom};
        return std::nullopt;
    }
    const auto cp932 = [&bytes]() -> std::optional<QString> {
        return strictly(QStringDecoder(CodePage932, QStringConverter::Flag::Stateless), bytes);
    };
    if (!isUtf8BeyondAscii(bytes)) {
        if (auto text = cp932())
            return Decoded{*text, Encoding::CodePage932};
        return std::nullopt;
    }
    auto utf8 = strictly(utf8Decoder(), bytes);
    if (!utf8)
        return std::nullopt;
    // Bytes that read both ways: the reading that looks like Japanese wins,
    // and a tie goes to code page 932, the encoding this program writes.
    if (looksLikeCodePage932(bytes)) {
        if (auto text = cp932(); text && plausibility(*text) >= plausibility(*utf8))
            return Decoded{*text, Encoding::CodePage932};
    }
    return Decoded{*utf8, Encoding::Utf8};
}

QByteArray encode(const QString &text, Encoding encoding)
{
    // What is written must read back in the same encoding; bytes that the
    // reading would take for the other one get the mark instead.
    switch (encoding) {
    case Encoding::Utf8: {
        QByteArray bytes = text.toUtf8();
        if (!looksLikeCodePage932(bytes) || decode(bytes)->encoding == Encoding::Utf8)
            return bytes;
        break;
    }
    case Encoding::Utf8WithBom:
        break;
    case Encoding::CodePage932: {
        QStringEncoder cp932(CodePage932, QStringConverter::Flag::Stateless);
        if (cp932.isValid()) {
            QByteArray bytes = cp932(text);
            if (!cp932.hasError() &&
                (!isUtf8BeyondAscii(bytes) || decode(bytes)->encoding == Encoding::CodePage932))
                return bytes;
        }
        break;
    }
    }
    return Utf8Bom + text.toUtf8();
}

} // namespace TextCodec
