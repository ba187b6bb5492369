#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

namespace {

QString defaultFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, const QString& folder)
    : path_((folder.isEmpty() ? defaultFolder() : folder) + QLatin1Char('/') + name +
            QStringLiteral(".lock")) {}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    if (isHeld())
        return true;
    auto lock = std::make_unique<QLockFile>(path_);
    // Stale only when its process is gone: a copy that has been running for hours still holds
    // the guard.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    return true;
}

void SingleInstance::release() {
    lock_.reset();
}

bool SingleInstance::isHeld() const {
    return lock_ && lock_->isLocked();
}

}  // namespace platform
