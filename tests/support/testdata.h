#pragma once

#include <QByteArray>
#include <QString>

// Path of a file under tests/data.
QString testDataPath(const QString& fileName);
// The bytes of a file under tests/data, exactly as stored; empty if it is missing.
QByteArray readTestData(const QString& fileName);
