#include "sales/SalesCounter.h"

namespace sales {

SalesCounter::SalesCounter(QObject* owner) : QObject(owner) {}

SalesCounter& SalesCounter::of(QObject* owner) {
    if (auto* existing = owner->findChild<SalesCounter*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new SalesCounter(owner);
}

void SalesCounter::wire(Command command, Opener opener) {
    openers_[static_cast<std::size_t>(command)] = std::move(opener);
}

bool SalesCounter::run(Command command, TFormBusqueda& screen) const {
    const Opener& opener = openers_[static_cast<std::size_t>(command)];
    if (!opener)
        return false;
    opener(screen);
    return true;
}

}  // namespace sales
