#include "core/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRecursiveMutex>
#include <algorithm>

namespace core::log {

namespace {

const QString kMask = QStringLiteral("****");

struct State {
    QRecursiveMutex mutex;  // a message raised while one is written comes back on this thread
    bool installed = false;
    bool writing = false;
    QString path;
    QStringList secrets;  // longest first, so that a secret inside another is not half masked
    qint64 maxBytes = kMaxBytes;
    QFile file;
    QtMessageHandler previous = nullptr;
};

State& state() {
    static State s;
    return s;
}

const char* levelName(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "DEBUG";
        case QtInfoMsg:
            return "INFO";
        case QtWarningMsg:
            return "WARNING";
        case QtCriticalMsg:
            return "CRITICAL";
        case QtFatalMsg:
            break;
    }
    return "FATAL";
}

// The text with every secret replaced by "****".
QString masked(const QString& text, const QStringList& secrets) {
    QString out = text;
    for (const QString& secret : secrets)
        if (!secret.isEmpty())
            out.replace(secret, kMask);
    return out;
}

QByteArray lineOf(QtMsgType type, const QMessageLogContext& context, QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString category =
        context.category ? QString::fromUtf8(context.category) : QStringLiteral("default");
    return (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
            QLatin1Char(' ') + QLatin1String(levelName(type)) + QLatin1Char(' ') + category +
            QStringLiteral(": ") + text + QLatin1Char('\n'))
        .toUtf8();
}

QString oldFile(const QString& path, int n) {
    return path + QLatin1Char('.') + QString::number(n);
}

void rotate(State& s) {
    s.file.close();
    QFile::remove(oldFile(s.path, kOldFiles));
    for (int n = kOldFiles - 1; n >= 1; --n)
        QFile::rename(oldFile(s.path, n), oldFile(s.path, n + 1));
    QFile::rename(s.path, oldFile(s.path, 1));
}

bool open(State& s) {
    if (s.file.isOpen())
        return true;
    s.file.setFileName(s.path);
    return s.file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void append(State& s, const QByteArray& line) {
    if (!open(s))
        return;
    if (s.file.size() > 0 && s.file.size() + line.size() > s.maxBytes) {
        rotate(s);
        if (!open(s))
            return;
    }
    s.file.write(line);
    s.file.flush();
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    State& s = state();
    QtMessageHandler previous = nullptr;
    QString text;
    {
        const QMutexLocker lock(&s.mutex);
        previous = s.previous;
        text = masked(message, s.secrets);
        if (type != QtDebugMsg && !s.writing) {
            s.writing = true;
            append(s, lineOf(type, context, text));
            s.writing = false;
        }
    }
    if (previous)
        previous(type, context, text);
}

}  // namespace

void install(const QString& path, const QStringList& secrets, qint64 maxBytes) {
    State& s = state();
    const QMutexLocker lock(&s.mutex);
    s.file.close();
    s.path = path;
    s.secrets = secrets;
    std::sort(s.secrets.begin(), s.secrets.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    s.maxBytes = maxBytes;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!s.installed)
        s.previous = qInstallMessageHandler(handle);
    s.installed = true;
}

void uninstall() {
    State& s = state();
    const QMutexLocker lock(&s.mutex);
    if (!s.installed)
        return;
    qInstallMessageHandler(s.previous);
    s.previous = nullptr;
    s.installed = false;
    s.file.close();
}

}  // namespace core::log
