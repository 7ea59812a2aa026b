#include "testdata.h"

#include <QDir>
#include <QFile>

QString testDataPath(const QString& fileName)
{
    return QDir(QStringLiteral(ZEN_TEST_DATA_DIR)).filePath(fileName);
}

QByteArray readTestData(const QString& fileName)
{
    QFile file(testDataPath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
