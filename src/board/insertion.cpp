#include "board/insertion.h"

#include <algorithm>

namespace Insertion {

std::optional<Result> insertPending(const QString &text, int selStart, const QString &ch, int maxLength)
{
    const int a = std::clamp(selStart, 0, int(text.size()));
    QString t = text.left(a) + ch + text.mid(a);
    if (!t.endsWith(Marker))
        t += Marker;
    // Cutting an over-long text would take the marker off its end.
    if (maxLength > 0 && t.size() > maxLength)
        return std::nullopt;
    return Result{t, a + int(ch.size())};
}

} // namespace Insertion
