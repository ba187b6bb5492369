#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace platform {

// A workstation-wide named guard: a lock file in the user's runtime folder (or the temporary
// folder). Only one live process holds a name at a time; the lock of a process that died is
// taken over.
class SingleInstance {
public:
    static constexpr const char* kDefaultName = "VELCARIS_MIRANTO";

    explicit SingleInstance(const QString& name = QString::fromLatin1(kDefaultName),
                            const QString& folder = {});
    ~SingleInstance();  // releases the guard
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the guard without waiting; false when another live copy holds it.
    bool acquire();
    void release();
    bool isHeld() const;
    QString lockFilePath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace platform
