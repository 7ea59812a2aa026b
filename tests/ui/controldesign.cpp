#include "controldesign.h"

#include "uitest.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

QString textOf(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(control))
        return box->text();
    if (const auto* pane = qobject_cast<const QPlainTextEdit*>(control))
        return pane->toPlainText();
    if (const auto* list = qobject_cast<const QListWidget*>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        return items.join(u'|');
    }
    return QString();
}

void expectControls(const QWidget* window, const std::vector<ControlDesign>& designs)
{
    for (const ControlDesign& design : designs) {
        const std::string what =
            design.name.toStdString() + (design.index >= 0 ? "(" + std::to_string(design.index) + ")" : "");
        SCOPED_TRACE(window->objectName().toStdString() + "." + what);
        const QWidget* control = findControl(window, design.name, design.index);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->inherits(design.kind)) << control->metaObject()->className();
        if (design.text)
            EXPECT_EQ(textOf(control), *design.text);
        if (design.at) {
            const QRect expected = design.at->rect();
            if (design.positionOnly)
                EXPECT_EQ(control->pos(), expected.topLeft());
            else
                EXPECT_EQ(control->geometry(), expected);
        }
    }
}
