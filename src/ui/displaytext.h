#pragma once

#include <QString>
#include <QStringView>

// Lobby text as a text box shows it. CR LF breaks a line, and so does a lone
// CR or LF. A line longer than a few screens (only a hostile server or file
// brings one) is cut into pieces: laying out one huge wrapped line would
// stall the window. Every linesPerBlock-th break is a paragraph break ("\n"),
// the others are line separators inside it; a text box lays out a huge text
// of many short paragraphs much faster. With 1 every break is "\n".
QString displayText(QStringView text, int linesPerBlock = 1);
