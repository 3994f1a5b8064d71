#include "recordings/kanasession.h"

namespace KanaSession {

QStringList sounds()
{
    static const QStringList all = [] {
        QStringList out;
        const QString groups[] = {QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへ"
                                                 "ほまみむめもやゆよらりるれろわをん"),
                                  QStringLiteral("がぎぐげござじずぜぞだぢづでどばびぶべぼ"),
                                  QStringLiteral("ぱぴぷぺぽ"), QStringLiteral("ぁぃぅぇぉっゃゅょゎ")};
        for (const QString &g : groups)
            for (const QChar c : g)
                out << QString(c);
        return out;
    }();
    return all;
}

QString promptFor(const QString &sound)
{
    return QStringLiteral("「%1」と言ってください").arg(sound);
}

} // namespace KanaSession
