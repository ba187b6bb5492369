#pragma once

#include <QDateTime>

namespace core {

// "Now" for the whole program. In production it follows the database server's clock, so every
// workstation agrees on the day; tests use a FixedClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

// The local clock shifted by a fixed number of seconds (the server's offset, read at connect).
class SystemClock : public Clock {
public:
    explicit SystemClock(qint64 offsetSeconds = 0) : offset_(offsetSeconds) {}
    QDateTime now() const override;
    void setOffsetSeconds(qint64 offset) { offset_ = offset; }

private:
    qint64 offset_;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime& at) { at_ = at; }
    void advanceSeconds(qint64 s) { at_ = at_.addSecs(s); }

private:
    QDateTime at_;
};

// Has the C library read the system's time zone once for the whole run: with TZ unset it looks
// at /etc/localtime again at every conversion of a local date-time, which costs more than
// reading a row of a table. A TZ already set is kept; a change of the system's zone is seen at
// the next start. Called first thing in main, before any thread starts.
void readTimeZoneOnce();

}  // namespace core
