#include "platform/textcodec.h"

#include "platform/memoryhints.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <vector>

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

// Code page 932 through tables that the system's converter fills as characters
// are met: the same results, a fraction of its time on a file of megabytes.
// Nothing in this encoding depends on what came before, so a byte or a pair of
// bytes decodes, and a UTF-16 code unit encodes, the same wherever it stands.
class CodePage932Tables
{
public:
    static CodePage932Tables &instance()
    {
        static CodePage932Tables tables;
        return tables;
    }

    // Empty when the bytes are not code page 932, or when the converter must read them itself.
    std::optional<QString> decode(const QByteArray &bytes, bool *undecided)
    {
        *undecided = false;
        QString text(bytes.size(), Qt::Uninitialized);
        AdviseHugePages(text.data(), size_t(text.size()) * sizeof(QChar));
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        qsizetype n = 0;
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
        const qsizetype size = bytes.size();
        for (qsizetype i = 0; i < size; ++i) {
            char16_t u = single(p[i]);
            if (u == Lead) {
                if (i + 1 == size)
                    return std::nullopt; // a character cut off at the end
                u = pair(p[i], p[i + 1]);
                ++i;
            }
            if (u == Invalid)
                return std::nullopt;
            if (u == Unsure) {
                *undecided = true;
                return std::nullopt;
            }
            out[n++] = u;
        }
        text.truncate(n);
        return text;
    }

    // Empty when code page 932 cannot hold the text, or when the converter must write it itself.
    std::optional<QByteArray> encode(const QString &text, bool *undecided)
    {
        *undecided = false;
        QByteArray bytes(text.size() * 2, Qt::Uninitialized);
        AdviseHugePages(bytes.data(), size_t(bytes.size()));
        char *out = bytes.data();
        qsizetype n = 0;
        for (const QChar c : text) {
            const quint16 code = encoded(c.unicode());
            if (code == Unencodable || code == Untabled) {
                *undecided = code == Untabled;
                return std::nullopt;
            }
            if (code >= 0x8100)
                out[n++] = char(code >> 8);
            out[n++] = char(code & 0xFF);
        }
        bytes.truncate(n);
        return bytes;
    }

    // The character's code: 0x100 | its byte, or its lead and trail bytes;
    // NoCode or above when code page 932 has none for it alone.
    static constexpr quint16 NoCode = 0xFFFE;
    quint16 codeOf(char16_t c) { return encoded(c); }

private:
    static constexpr char16_t Unknown = 0, Lead = 0xFFFE, Invalid = 0xFFFD, Unsure = 0xFFFF;
    static constexpr quint16 Unencodable = 0xFFFF, Untabled = NoCode;

    // What the converter makes of a few bytes: one code unit, or one of the marks.
    static char16_t convert(const char *bytes, int size)
    {
        QStringDecoder decoder(CodePage932, QStringConverter::Flag::Stateless);
        const QString s = decoder(QByteArrayView(bytes, size));
        if (decoder.hasError())
            return Invalid;
        if (s.size() != 1 || s[0].unicode() >= Invalid || s[0].unicode() == Unknown)
            return Unsure;
        return s[0].unicode();
    }

    char16_t single(unsigned char b)
    {
        char16_t &u = m_single[b];
        // A byte that is no character alone begins a pair (or is no character at
        // all, which its pair then shows).
        if (u == Unknown && b != 0) {
            u = convert(reinterpret_cast<const char *>(&b), 1);
            if (u == Invalid)
                u = Lead;
        }
        return b == 0 ? 0 : u;
    }

    char16_t pair(unsigned char lead, unsigned char trail)
    {
        char16_t &u = m_pairs[size_t(lead) << 8 | trail];
        if (u == Unknown) {
            const char bytes[] = {char(lead), char(trail)};
            u = convert(bytes, 2);
        }
        return u;
    }

    quint16 encoded(char16_t c)
    {
        quint16 &code = m_encoded[c];
        if (code == 0) {
            QStringEncoder encoder(CodePage932, QStringConverter::Flag::Stateless);
            const QChar ch(c);
            const QByteArray b = encoder(QStringView(&ch, 1));
            if (encoder.hasError())
                code = Unencodable;
            else if (b.isEmpty() || b.size() > 2 || (b.size() == 2 && uchar(b[0]) < 0x81))
                code = Untabled;
            else
                code = b.size() == 1 ? quint16(0x100 | uchar(b[0])) : quint16(uchar(b[0]) << 8 | uchar(b[1]));
        }
        return code;
    }

    std::array<char16_t, 256> m_single{};
    std::vector<char16_t> m_pairs = std::vector<char16_t>(65536, Unknown);
    std::vector<quint16> m_encoded = std::vector<quint16>(65536, 0);
};

// The tables' result, or the converter's where the tables leave it undecided.
template <typename Quick, typename Slow> auto tablesOrConverter(Quick quick, Slow slow) -> decltype(slow())
{
    bool undecided = false;
    if (auto result = quick(&undecided))
        return result;
    return undecided ? slow() : std::nullopt;
}

std::optional<QByteArray> encodeCodePage932(const QString &text)
{
    return tablesOrConverter(
        [&text](bool *undecided) { return CodePage932Tables::instance().encode(text, undecided); },
        [&text]() -> std::optional<QByteArray> {
            QStringEncoder encoder(CodePage932, QStringConverter::Flag::Stateless);
            QByteArray bytes = encoder(text);
            if (!encoder.isValid() || encoder.hasError())
                return std::nullopt;
            return bytes;
        });
}

std::optional<QString> decodeCodePage932(const QByteArray &bytes)
{
    return tablesOrConverter(
        [&bytes](bool *undecided) { return CodePage932Tables::instance().decode(bytes, undecided); },
        [&bytes] { return strictly(QStringDecoder(CodePage932, QStringConverter::Flag::Stateless), bytes); });
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
// for the second level and the vendor extensions, 0 when it has none. The
// tables only remember what a fresh converter said, so the answer never
// depends on what was asked before.
int kanjiLevel(QChar c)
{
    const quint16 code = CodePage932Tables::instance().codeOf(c.unicode());
    if (code < 0x8100 || code >= CodePage932Tables::NoCode)
        return 0;
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
        // A kanji code page 932 lacks (鷗, 頰, 剝) is as telling as kana: only
        // UTF-8 can have written it. Second-level kanji are what UTF-8 Japanese
        // read as code page 932 mostly turns into.
        switch (kanjiLevel(c)) {
        case 1:
            return 2;
        case 2:
            return -2;
        default:
            return 3;
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
    const auto cp932 = [&bytes] { return decodeCodePage932(bytes); };
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
        if (const auto bytes = encodeCodePage932(text);
            bytes && (!isUtf8BeyondAscii(*bytes) || decode(*bytes)->encoding == Encoding::CodePage932))
            return *bytes;
        break;
    }
    }
    return Utf8Bom + text.toUtf8();
}

} // namespace TextCodec
