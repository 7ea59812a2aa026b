#include "testdata.h"

#include <QFile>

QByteArray readTestData(const QString& fileName)
{
    QFile file(QStringLiteral(ZEN_TEST_DATA_DIR "/") + fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
