#include "db/ConnectionInfo.h"

#include <QUrl>
#include <QUrlQuery>

namespace db {

std::optional<ConnectionInfo> ConnectionInfo::parse(const QString& url) {
    ConnectionInfo info;
    if (url == QStringLiteral("sqlite::memory:")) {
        info.dialect = Dialect::SQLite;
        info.path = QStringLiteral(":memory:");
        return info;
    }
    if (url.startsWith(QStringLiteral("sqlite://"))) {
        info.dialect = Dialect::SQLite;
        info.path = QUrl::fromPercentEncoding(url.mid(9).toUtf8());
        if (!info.path.startsWith(QLatin1Char('/')))
            return std::nullopt;
        return info;
    }
    const QUrl u(url);
    if (!u.isValid() ||
        (u.scheme() != QStringLiteral("postgresql") && u.scheme() != QStringLiteral("postgres")))
        return std::nullopt;
    info.dialect = Dialect::PostgreSQL;
    info.user = u.userName();
    info.password = u.password();
    info.host = u.host();
    info.port = u.port(5432);
    info.database = u.path().mid(1);
    const QUrlQuery query(u);
    if (query.hasQueryItem(QStringLiteral("host")))
        info.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (query.hasQueryItem(QStringLiteral("port"))) {
        bool ok = false;
        info.port = query.queryItemValue(QStringLiteral("port")).toInt(&ok);
        if (!ok || info.port < 1 || info.port > 65535)
            return std::nullopt;
    }
    if (info.database.isEmpty())
        return std::nullopt;
    return info;
}

QString ConnectionInfo::display() const {
    if (dialect == Dialect::SQLite)
        return path == QStringLiteral(":memory:") ? QStringLiteral("sqlite::memory:")
                                                  : QStringLiteral("sqlite://") + path;
    QString who = user;
    if (!password.isEmpty())
        who += QStringLiteral(":****");
    if (!who.isEmpty())
        who += QLatin1Char('@');
    // A socket folder goes into the query, with its port when it is another than 5432.
    if (host.startsWith(QLatin1Char('/'))) {
        QString out = QStringLiteral("postgresql://%1/%2?host=%3").arg(who, database, host);
        if (port != 5432)
            out += QStringLiteral("&port=%1").arg(port);
        return out;
    }
    return QStringLiteral("postgresql://%1%2:%3/%4").arg(who, host).arg(port).arg(database);
}

QStringList ConnectionInfo::secretsOf(const QString& url) {
    const QUrl u(url);
    QStringList out;
    for (const QString& form : {u.password(QUrl::FullyDecoded), u.password(QUrl::FullyEncoded)})
        if (!form.isEmpty() && !out.contains(form))
            out << form;
    return out;
}

ConnectionInfo ConnectionInfo::withDatabase(const QString& name) const {
    ConnectionInfo copy = *this;
    copy.database = name;
    return copy;
}

}  // namespace db
