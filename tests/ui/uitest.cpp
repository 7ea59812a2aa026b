#include "uitest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

#include <gtest/gtest.h>

ProgramFolder::ProgramFolder()
{
    // The build places the default data files beside the test binaries. They get one time, as
    // when an archive is unpacked: a picture and its "@2x" copy are then equally new.
    const QDir built(QCoreApplication::applicationDirPath());
    for (const QString& name : built.entryList({"*.jpg", "bot.dat"}, QDir::Files)) {
        QFile copy(file(name));
        if (QFile::copy(built.filePath(name), copy.fileName()) && copy.open(QIODevice::ReadWrite))
            copy.setFileTime(QDateTime::fromSecsSinceEpoch(1700000000), QFileDevice::FileModificationTime);
    }
}

void ProgramFolder::write(const QString& name, const QByteArray& bytes) const
{
    QFile out(file(name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()) << name.toStdString();
}

QByteArray ProgramFolder::read(const QString& name) const
{
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void Desktop::enterLobby(int lobbyIndex)
{
    if (!login()->isVisible())
        forms.Main();
    QTest::keyClicks(control(login(), QStringLiteral("NICKNAMEBOX")), QStringLiteral("Bob\r"));
    click(control(select(), QStringLiteral("LBYSEL"), lobbyIndex));
    transport.acceptConnection();
    ASSERT_TRUE(lobby()->isVisible());
    transport.deliver(":" + state().MyNick.toLatin1() + "!u@h JOIN :" + state().CurrentChannel.toLatin1() +
                      "\r\n");
    transport.takeLines();
}

QStringList Desktop::messages() const
{
    QStringList texts;
    for (const auto& m : shell.messages)
        texts << m.text;
    return texts;
}
