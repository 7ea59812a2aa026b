#pragma once

#include <QString>
#include <QStringView>

// Text folded to one case the way a case-insensitive comparison folds each
// character, and of the same length, so that many substring tests over one
// line are plain searches: a case-insensitive search folds every character it
// looks at again, for each test.
namespace FoldedText {

// Writes the folded text into `folded`, whose storage is reused.
void fold(QStringView text, QString& folded);
QString fold(QStringView text);

} // namespace FoldedText
