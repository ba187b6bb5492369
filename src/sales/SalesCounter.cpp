#include "sales/SalesCounter.h"

#include "session/AppContext.h"
#include "session/Session.h"

namespace sales {

SalesCounter::SalesCounter(QObject* owner) : QObject(owner) {}

SalesCounter& SalesCounter::of(session::AppContext& context) {
    QObject* owner = &context.session;
    if (auto* existing = owner->findChild<SalesCounter*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new SalesCounter(owner);
}

void SalesCounter::wire(Command command, Opener opener) {
    openers_[static_cast<std::size_t>(command)] = std::move(opener);
}

bool SalesCounter::run(Command command) const {
    const Opener& opener = openers_[static_cast<std::size_t>(command)];
    if (!opener)
        return false;
    opener();
    return true;
}

}  // namespace sales
