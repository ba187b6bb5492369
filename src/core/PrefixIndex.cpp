#include "core/PrefixIndex.h"

namespace core {

int PrefixIndex::find(const QString& prefix) const {
    const QString key = prefix.toUpper();
    const auto it = std::lower_bound(keys_.begin(), keys_.end(), key);
    if (it == keys_.end() || !it->startsWith(key))
        return -1;
    return static_cast<int>(it - keys_.begin());
}

}  // namespace core
