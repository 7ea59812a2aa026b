#include "uitest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

QWidget* findControl(const QWidget* window, const QString& name, int index)
{
    for (QWidget* widget : window->findChildren<QWidget*>(name)) {
        const QVariant at = widget->property("index");
        if (at.isValid() ? at.toInt() == index : index < 0)
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
        if (!QFile::copy(built.filePath(QString::fromLatin1(name)), file(QString::fromLatin1(name))))
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

QStringList listItems(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void Desktop::logIn(const QString& name)
{
    if (!login()->isVisible())
        forms.Main();
    QTest::keyClicks(control(login(), QStringLiteral("NICKNAMEBOX")), name + u'\r');
}

void Desktop::enterLobby(int lobbyIndex)
{
    logIn();
    click(control(select(), QStringLiteral("LBYSEL"), lobbyIndex));
    transport.acceptConnection();
    ASSERT_TRUE(lobby()->isVisible());
    transport.takeLines();
}

QStringList Desktop::messages() const
{
    QStringList texts;
    for (const auto& m : shell.messages)
        texts << m.text;
    return texts;
}
