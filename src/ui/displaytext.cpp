#include "ui/displaytext.h"

QString displayText(QStringView text, int linesPerBlock)
{
    constexpr qsizetype PieceLength = 2000;
    QString shown;
    shown.reserve(text.size() + text.size() / PieceLength + 1);
    qsizetype lineStart = 0;
    int lines = 0;
    const auto lineBreak = [&] {
        shown += ++lines % linesPerBlock == 0 ? QChar(u'\n') : QChar(QChar::LineSeparator);
        lineStart = shown.size();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            lineBreak();
            continue;
        }
        if (shown.size() - lineStart >= PieceLength)
            lineBreak();
        shown += c;
    }
    return shown;
}
