#include "Wildcard.h"

namespace platform {

bool wildcardMatch(const QString& name, const QString& pattern) {
    const QString text = name.toCaseFolded();
    const QString wild = pattern.toCaseFolded();
    const QChar star(u'*');
    const QChar any(u'?');

    // Greedy scan that, on a mismatch, lets the last "*" swallow one more character.
    qsizetype t = 0;
    qsizetype w = 0;
    qsizetype lastStar = -1;
    qsizetype resumeAt = 0;
    while (t < text.size()) {
        if (w < wild.size() && wild[w] == star) {
            lastStar = w++;
            resumeAt = t;
        } else if (w < wild.size() && (wild[w] == any || wild[w] == text[t])) {
            ++w;
            ++t;
        } else if (lastStar >= 0) {
            w = lastStar + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (w < wild.size() && wild[w] == star)
        ++w;
    return w == wild.size();
}

} // namespace platform
