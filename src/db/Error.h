#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A database failure: the server's own text, and where it happened.
class Error : public std::runtime_error {
public:
    Error(const QString& where, const QString& serverText)
        : std::runtime_error((where + QStringLiteral(": ") + serverText).toStdString()),
          where_(where),
          serverText_(serverText) {}

    const QString& where() const { return where_; }
    const QString& serverText() const { return serverText_; }

private:
    QString where_;
    QString serverText_;
};

}  // namespace db
