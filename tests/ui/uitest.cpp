#include "uitest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

QWidget* findControl(const QWidget* window, const QString& name, int index)
{
    const QList<QWidget*> found = window->findChildren<QWidget*>(name);
    for (QWidget* widget : found) {
        const QVariant at = widget->property("index");
        if ((index < 0 && !at.isValid()) || (index >= 0 && at.isValid() && at.toInt() == index))
            return widget;
    }
    return nullptr;
}

ProgramFolder::ProgramFolder()
{
    // The build places the default data files beside the test binaries.
    const QDir built(QCoreApplication::applicationDirPath());
    for (const char* name :
         {"bg.jpg", "huts.jpg", "select.jpg", "bg@2x.jpg", "huts@2x.jpg", "select@2x.jpg", "bot.dat"}) {
        const QString file = QString::fromLatin1(name);
        if (!QFile::copy(built.filePath(file), m_dir.filePath(file)))
            ADD_FAILURE() << "no " << name << " beside the test binary";
    }
}

void ProgramFolder::remove(const QString& name) const
{
    QFile::remove(file(name));
}

void ProgramFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile out(file(name));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << name.toStdString();
}

QByteArray ProgramFolder::read(const QString& name) const
{
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void click(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void Desktop::logIn(const QString& name)
{
    forms.Main();
    auto* box = control<QLineEdit>(login(), QStringLiteral("NICKNAMEBOX"));
    ASSERT_NE(box, nullptr);
    box->setText(name);
    click(control<QWidget>(login(), QStringLiteral("Command1")));
}

void Desktop::enterLobby(const QString& name, int lobbyIndex)
{
    logIn(name);
    ASSERT_TRUE(select()->isVisible());
    click(control<QWidget>(select(), QStringLiteral("LBYSEL"), lobbyIndex));
    transport.acceptConnection();
    ASSERT_TRUE(lobby()->isVisible());
    transport.takeLines();
}

QLineEdit* Desktop::input()
{
    return control<QLineEdit>(lobby(), QStringLiteral("OUTCHAT"));
}

void Desktop::type(const QString& text)
{
    QTest::keyClicks(input(), text);
    QTest::keyClick(input(), Qt::Key_Return);
}

QString Desktop::pane()
{
    return control<QPlainTextEdit>(lobby(), QStringLiteral("INCHAT"))->toPlainText();
}

QStringList listItems(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}
