#pragma once

#include "platform/PrintSystem.h"

#include <QFile>
#include <QStringList>
#include <vector>

namespace testsupport {

// A print system with one default queue, "RECIBOS", whose state and whose jobs' fate the test
// sets; it keeps a copy of every file it was sent.
class FakePrintSystem : public platform::PrintSystem {
public:
    struct Job {
        QString queue;
        QByteArray pdf;
        QString title;
        QSizeF paperMm;
        bool cancelled = false;
    };

    DefaultQueue defaultQueue() override { return queue; }
    Submission submit(const QString& name, const QString& pdfFile, const QString& title,
                      const QSizeF& paperMm) override {
        if (!refusal.isEmpty())
            return {0, refusal};
        QFile f(pdfFile);
        jobs.push_back(
            {name, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), title, paperMm});
        if (stopOnSubmit)
            stop();
        return {int(jobs.size()), {}};
    }
    std::optional<JobState> jobState(int) override { return fate; }
    void cancel(const QString&, int job) override {
        jobs.at(std::size_t(job - 1)).cancelled = true;
    }

    void stop() { queue.queue.stopped = true; }
    void refuseJobs() { queue.queue.accepting = false; }
    void remove() { queue = {DefaultQueue::Status::NoQueue, {}}; }
    void shutDown() { queue = {DefaultQueue::Status::Unreachable, {}}; }

    DefaultQueue queue{DefaultQueue::Status::Found, {QStringLiteral("RECIBOS"), true, false}};
    std::optional<JobState> fate = JobState::Completed;
    QString refusal;            // not empty: every submission is refused with it
    bool stopOnSubmit = false;  // the queue stops right after it took a job
    std::vector<Job> jobs;
};

}  // namespace testsupport
