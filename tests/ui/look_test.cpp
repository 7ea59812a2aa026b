// How the windows look and answer the keyboard: pictures as sharp as the
// screen, every text fitting its box and standing out from its background
// (run once more at device pixel ratio 2, see CMakeLists.txt), Enter on the
// focused button.
#include "uitest.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

double luminance(const QColor& colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// The contrast ratio of two colours, 1 to 21; text reads well from 4.5.
double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The room the text of a label or button needs and the room its box gives.
std::pair<QSize, QSize> neededAndGiven(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const QRect box = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return {label->fontMetrics().boundingRect(box, flags, label->text()).size(), box.size()};
    }
    const auto* button = static_cast<const QPushButton*>(control);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QRect box = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    QSize needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    if (!button->icon().isNull())
        needed = {needed.width() + 4 + option.iconSize.width(),
                  std::max(needed.height(), option.iconSize.height())};
    return {needed, box.size()};
}

TEST(Look, APictureBesideTheProgramComesTwiceAsLargeUnlessThePlayerReplacedIt)
{
    const struct {
        const char* what;
        qreal scale;
        int largeOlderBy;            // seconds
        const char* large = nullptr; // what the "@2x" copy holds; null: as built
        qreal ratio;
    } cases[] = {
        {"a plain screen", 1, 0, nullptr, 1},
        {"a sharp screen", 2, 0, nullptr, 2},
        {"a picture newer than its copy", 2, 60, nullptr, 1},
        {"a copy that is no picture", 2, 0, "no picture", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder;
        if (c.large)
            folder.write(QStringLiteral("bg@2x.jpg"), c.large);
        const QDateTime now = QDateTime::currentDateTime();
        for (const auto& [name, time] :
             {std::pair{"bg.jpg", now}, {"bg@2x.jpg", now.addSecs(-c.largeOlderBy)}}) {
            QFile file(folder.file(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(time, QFileDevice::FileModificationTime));
        }
        QPixmap picture;
        ASSERT_TRUE(Pictures::loadFile(folder.path(), QStringLiteral("bg.jpg"), picture, c.scale));
        EXPECT_EQ(picture.devicePixelRatio(), c.ratio);
        EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(624, 499));
    }
}

TEST(Look, EveryTextFitsItsBoxAndStandsOutFromItsBackground)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.lobby()->showBotEditor();
    const struct {
        QWidget* window;
        int texts;
    } windows[] = {
        {desktop.login(), 7}, {desktop.select(), 12}, {desktop.lobby(), 2}, {desktop.forms.editForm(), 6}};
    // Pictures as sharp as the screen: loaded with its device pixel ratio.
    const qreal scale = desktop.lobby()->devicePixelRatio();
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        EXPECT_EQ(scale, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
    EXPECT_EQ(desktop.forms.pictures().LOGO.devicePixelRatio(), scale);
    EXPECT_EQ(desktop.forms.pictures().BG1.devicePixelRatio(), scale);
    const QPalette selection = QApplication::palette();
    EXPECT_GE(contrast(selection.color(QPalette::HighlightedText), selection.color(QPalette::Highlight)),
              4.5);
    for (const auto& w : windows) {
        int texts = 0;
        for (const QWidget* control : w.window->findChildren<QWidget*>()) {
            if (control->window() != w.window)
                continue;
            const QPalette& palette = control->palette();
            SCOPED_TRACE((w.window->objectName() + u'.' + control->objectName()).toStdString());
            if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
                EXPECT_GE(contrast(palette.color(QPalette::Text), palette.color(QPalette::Base)), 4.5);
            const auto* label = qobject_cast<const QLabel*>(control);
            const auto* button = qobject_cast<const QPushButton*>(control);
            if (!(label && !label->text().isEmpty()) && !(button && !button->text().isEmpty()))
                continue;
            ++texts;
            const auto [needed, given] = neededAndGiven(control);
            EXPECT_LE(needed.width(), given.width()) << "wide";
            EXPECT_LE(needed.height(), given.height()) << "high";
            if (label)
                EXPECT_GE(contrast(palette.color(QPalette::WindowText), palette.color(QPalette::Window)),
                          4.5);
            else
                EXPECT_GE(contrast(palette.color(QPalette::ButtonText), palette.color(QPalette::Button)),
                          4.5);
        }
        EXPECT_EQ(texts, w.texts) << w.window->objectName().toStdString();
    }
}

TEST(Look, EnterClicksTheFocusedButtonOnceAndEscLeavesTheEditor)
{
    Desktop desktop;
    desktop.enterLobby();
    desktop.lobby()->showBotEditor();
    QWidget* editor = desktop.forms.editForm();
    const struct {
        QWidget* window;
        const char* focused;
        int index = -1;
        Qt::Key key = Qt::Key_Return;
        const char* clicked = nullptr; // null: the focused button
    } presses[] = {
        {desktop.lobby(), "SEND"},     {desktop.lobby(), "Hut", 12, Qt::Key_Enter},
        {editor, "Command3"},          {editor, "Command4"},
        {editor, "Command1"},          {editor, "Text1", -1, Qt::Key_Escape, "Command2"},
        {editor, "Command2"},          {desktop.select(), "Command1"},
        {desktop.login(), "Command2"}, {desktop.login(), "Command1"},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE((press.window->objectName() + u'.' + QString::fromLatin1(press.focused)).toStdString());
        press.window->show();
        QApplication::setActiveWindow(press.window);
        QWidget* focused = findControl(press.window, QString::fromLatin1(press.focused), press.index);
        focused->setFocus();
        ASSERT_TRUE(focused->hasFocus());
        auto* button = press.clicked
                           ? control<QAbstractButton>(press.window, QString::fromLatin1(press.clicked))
                           : qobject_cast<QAbstractButton*>(focused);
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        QTest::keyClick(focused, press.key);
        // A held key repeats its press; the button is clicked once.
        QKeyEvent repeat(QEvent::KeyPress, press.key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(focused, &repeat);
        EXPECT_EQ(clicks.count(), 1);
    }
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(desktop.shell.endCount, 1);
}

} // namespace
