#pragma once

#include "db/Db.h"

// The program's stored procedures are C++ functions named as the procedures, in namespace
// db::proc, one header per subsystem. Each takes a struct of its declared inputs and returns a
// struct of its outputs, runs in one Db::Transaction (joining one already open on the same Db,
// so several calls can commit together), and throws db::Error when the database fails.
namespace db::proc {

// A text input as a varchar(n) parameter receives it: right-trimmed and cut to n characters.
inline QString param(const QString& value, int size) {
    QString s = value.left(size);
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

}  // namespace db::proc
