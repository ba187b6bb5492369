#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The program's log file. Once installed, every Qt message from information up is appended as
// one line, "2026-12-09 20:31:05 WARNING velcaris.guard: action ended: disco lleno", from any
// thread, and then handed to the handler that was in place before (the terminal). A line that
// would take the file past its size limit first rotates it: NAME becomes NAME.1, NAME.1 becomes
// NAME.2 and the oldest is dropped. Every secret (the database password) is written as "****",
// in the file and in what goes on to the previous handler.
namespace core::log {

inline constexpr qint64 kMaxBytes = 4 * 1024 * 1024;
inline constexpr int kOldFiles = 2;

// Creates the file's folder when needed. A file that cannot be opened only loses the lines.
void install(const QString& path, const QStringList& secrets, qint64 maxBytes = kMaxBytes);
// Closes the file and puts the previous handler back.
void uninstall();

}  // namespace core::log
