#pragma once

#include "ui/layout.h"

#include <QString>
#include <QWidget>

#include <optional>

// One control as the window is designed: its name (and index in a control
// array), its kind, its design-time text, and where it sits, in twips.
struct ControlDesign {
    QString name;
    int index;
    const char* kind;
    std::optional<QString> text;
    std::optional<Layout::Twips> at;
    // For an image that takes its picture's size: only the position is fixed.
    bool positionOnly = false;
};

// Finds each control and checks its kind, text and geometry; reports every difference.
void expectControls(const QWidget* window, const std::vector<ControlDesign>& designs);
// The design-time text of a label, button, text box or list.
QString textOf(const QWidget* control);
