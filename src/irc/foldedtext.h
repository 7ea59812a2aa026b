#pragma once

#include <QString>

// Text folded to one case the way a case-insensitive comparison folds each
// character, so that many substring tests over one received block are plain
// searches: a case-insensitive search folds every character it looks at
// again, for each test.
class FoldedText {
public:
    explicit FoldedText(const QString& text) : m_folded(fold(text)) {}
    // Whether the text holds needle, ignoring case.
    bool contains(const QString& needle) const { return m_folded.contains(fold(needle)); }

    static QString fold(const QString& text);

private:
    const QString m_folded;
};
