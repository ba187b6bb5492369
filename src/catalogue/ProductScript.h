#pragma once

#include <QDate>
#include <QString>

namespace platform {
class Platform;
}

namespace catalogue {

// The day's file of product statements, "PRODUCTO_dd-mm-yyyy.sql" in the folder
// "C:\Velcaris\Base de datos" (mapped through the platform's drives): every saved product adds
// its statement as one line. The file is only ever appended to, so a failed write never loses
// the lines already there.
class ProductScript {
public:
    explicit ProductScript(const platform::Platform& platform) : platform_(platform) {}

    static QString fileName(const QDate& day);
    // The folder and the day's file, as the platform maps them.
    QString folder() const;
    QString path(const QDate& day) const;

    // Appends the statement as one line of the day's file, creating the folder (when drive C:
    // exists) and the file when missing. False when the line could not be written whole.
    bool append(const QDate& day, const QString& statement) const;

private:
    const platform::Platform& platform_;
};

}  // namespace catalogue
