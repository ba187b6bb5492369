#include "platform/CupsPrintSystem.h"

#include <cups/cups.h>
#include <memory>

namespace platform {

namespace {

struct DestDeleter {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

// The scheduler does not answer at all, as opposed to answering that there is no such queue.
bool unreachable() {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (!http)
        return true;
    httpClose(http);
    return false;
}

QString option(const cups_dest_t& dest, const char* name) {
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

PrintSystem::JobState jobStateOf(int state) {
    switch (state) {
        case IPP_JSTATE_HELD:
            return PrintSystem::JobState::Held;
        case IPP_JSTATE_PROCESSING:
            return PrintSystem::JobState::Processing;
        case IPP_JSTATE_STOPPED:
            return PrintSystem::JobState::Stopped;
        case IPP_JSTATE_CANCELED:
            return PrintSystem::JobState::Canceled;
        case IPP_JSTATE_ABORTED:
            return PrintSystem::JobState::Aborted;
        case IPP_JSTATE_COMPLETED:
            return PrintSystem::JobState::Completed;
        default:
            return PrintSystem::JobState::Pending;
    }
}

}  // namespace

PrintSystem::DefaultQueue CupsPrintSystem::defaultQueue() {
    const std::unique_ptr<cups_dest_t, DestDeleter> dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (!dest)
        return {unreachable() ? DefaultQueue::Status::Unreachable : DefaultQueue::Status::NoQueue,
                {}};
    Queue queue;
    queue.name = QString::fromUtf8(dest->name);
    queue.accepting = option(*dest, "printer-is-accepting-jobs") != QLatin1String("false");
    queue.stopped = option(*dest, "printer-state").toInt() == IPP_PSTATE_STOPPED;
    return {DefaultQueue::Status::Found, queue};
}

QString CupsPrintSystem::media(const QSizeF& paperMm) {
    return QStringLiteral("Custom.%1x%2mm")
        .arg(QString::number(paperMm.width(), 'f', 1), QString::number(paperMm.height(), 'f', 1));
}

PrintSystem::Submission CupsPrintSystem::submit(const QString& queue, const QString& pdfFile,
                                                const QString& title, const QSizeF& paperMm) {
    cups_option_t* options = nullptr;
    int count = 0;
    count = cupsAddOption("media", media(paperMm).toUtf8().constData(), count, &options);
    count = cupsAddOption("copies", "1", count, &options);
    const int job =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), pdfFile.toUtf8().constData(),
                       title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0)
        return {job, {}};
    return {0, QString::fromUtf8(cupsLastErrorString())};
}

QString CupsPrintSystem::jobAttribute(int job, const char* name) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/jobs/%d", job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 name);
    const std::unique_ptr<ipp_t, IppDeleter> response(
        cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    ipp_attribute_t* a = response ? ippFindAttribute(response.get(), name, IPP_TAG_ZERO) : nullptr;
    if (!a)
        return {};
    const ipp_tag_t tag = ippGetValueTag(a);
    if (tag == IPP_TAG_ENUM || tag == IPP_TAG_INTEGER)
        return QString::number(ippGetInteger(a, 0));
    return QString::fromUtf8(ippGetString(a, 0, nullptr));
}

std::optional<PrintSystem::JobState> CupsPrintSystem::jobState(int job) {
    bool known = false;
    const int state = jobAttribute(job, "job-state").toInt(&known);
    if (!known)
        return std::nullopt;
    return jobStateOf(state);
}

void CupsPrintSystem::cancel(const QString& queue, int job) {
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), job, 0);
}

}  // namespace platform
