#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a file under tests/data, exactly as stored; empty if it is missing.
QByteArray readTestData(const QString& fileName);
