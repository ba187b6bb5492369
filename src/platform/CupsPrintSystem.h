#pragma once

#include "platform/PrintSystem.h"

namespace platform {

// The print system through libcups, on the scheduler it names (CUPS_SERVER, client.conf, the
// local one by default).
class CupsPrintSystem : public PrintSystem {
public:
    DefaultQueue defaultQueue() override;
    Submission submit(const QString& queue, const QString& pdfFile, const QString& title,
                      const QSizeF& paperMm) override;
    std::optional<JobState> jobState(int job) override;
    void cancel(const QString& queue, int job) override;

    // The media option of a paper size: "Custom.80.7x120.5mm".
    static QString media(const QSizeF& paperMm);
    // One attribute of a job ("job-state", "media") as text, an enum as its number; empty when
    // the scheduler does not know the job or the attribute.
    static QString jobAttribute(int job, const char* name);
};

}  // namespace platform
