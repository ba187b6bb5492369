#pragma once

#include <QSizeF>
#include <QString>
#include <optional>

namespace platform {

// The workstation's print system: its default queue and what becomes of a job sent to it.
// CupsPrintSystem is the real one; tests use a scripted fake (tests/support/FakePrintSystem.h).
class PrintSystem {
public:
    // A queue as the print system reports it.
    struct Queue {
        QString name;
        bool accepting = true;  // takes new jobs
        bool stopped = false;   // paused: its jobs wait
    };
    // The default queue, or why there is none.
    struct DefaultQueue {
        enum class Status { Found, NoQueue, Unreachable } status = Status::NoQueue;
        Queue queue;
    };
    enum class JobState { Pending, Held, Processing, Stopped, Canceled, Aborted, Completed };
    // A job the queue took (job > 0), or the queue's refusal.
    struct Submission {
        int job = 0;
        QString error;
    };

    virtual ~PrintSystem() = default;

    virtual DefaultQueue defaultQueue() = 0;
    // Sends a PDF file as one copy on paper of `paperMm` (width by height).
    virtual Submission submit(const QString& queue, const QString& pdfFile, const QString& title,
                              const QSizeF& paperMm) = 0;
    // None when the print system no longer knows the job.
    virtual std::optional<JobState> jobState(int job) = 0;
    virtual void cancel(const QString& queue, int job) = 0;
};

}  // namespace platform
